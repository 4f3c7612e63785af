// ScriptCommand: one parsed line of a reshost script: an input event for the
// window (keys, text, mouse, wheel, focus, activation), a wait on the clock,
// a host command (a verb of HostCommands' table: save, undo, next item,
// quit ...), one of the script's own (snapshot, text, title, close), or the
// window that later lines go to. Made by ScriptParser, carried out by
// ScriptRunner; plain data.
#ifndef SCRIPT_COMMAND_H
#define SCRIPT_COMMAND_H

#include <Message.h>
#include <Point.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

struct ScriptCommand
{
	enum Kind
	{
		kKey,   // bytes, modifiers
		kType,  // bytes: one key press per UTF-8 character
		kPress, // place, point or offset
		kMove,
		kRelease,
		kWheel,       // deltaX, deltaY
		kFocus,       // on
		kActivate,    // on
		kWait,        // duration
		kResize,      // width, height
		kDrop,        // paths: files dropped from the desktop on the dump
		kHostCommand, // message: a row's of HostCommands, with its arguments
		kSnapshot,    // path
		kText,        // prints the dump as drawn
		kTitle,       // prints the window's title
		kClose,       // the window's close button
		kWindow       // number: later lines go to that window
	};

	// Where a mouse command points: a point in the dump view's coordinates,
	// or a byte offset in one of the two columns.
	enum Place
	{
		kAtPoint,
		kHexOffset,
		kAsciiOffset
	};

	Kind kind = kHostCommand;
	int32 line = 0;
	std::string bytes;
	int32 modifiers = 0;
	Place place = kAtPoint;
	BPoint point;
	uint32 offset = 0;
	bool on = true;
	bigtime_t duration = 0;
	float deltaX = 0;
	float deltaY = 0;
	int32 width = 0;
	int32 height = 0;
	int32 number = 0;
	std::string path;
	std::vector<std::string> paths;
	BMessage message{0};
};

#endif // SCRIPT_COMMAND_H
