// Constants and free functions of the Interface Kit: key codes, modifier
// bits, mouse buttons and transits, resizing modes, view flags, orientation,
// border styles, scroll bar sizes and colour tints.
#ifndef _INTERFACE_DEFS_H
#define _INTERFACE_DEFS_H

#include <GraphicsDefs.h>
#include <SupportDefs.h>

// Key codes: the first byte of "bytes" in a B_KEY_DOWN message.
enum
{
	B_BACKSPACE = 0x08,
	B_RETURN = 0x0a,
	B_ENTER = 0x0a,
	B_SPACE = 0x20,
	B_TAB = 0x09,
	B_ESCAPE = 0x1b,
	B_SUBSTITUTE = 0x1a,

	B_LEFT_ARROW = 0x1c,
	B_RIGHT_ARROW = 0x1d,
	B_UP_ARROW = 0x1e,
	B_DOWN_ARROW = 0x1f,

	B_INSERT = 0x05,
	B_DELETE = 0x7f,
	B_HOME = 0x01,
	B_END = 0x04,
	B_PAGE_UP = 0x0b,
	B_PAGE_DOWN = 0x0c,

	B_FUNCTION_KEY = 0x10
};

// Physical key numbers ("key") of the function keys.
enum
{
	B_F1_KEY = 0x02,
	B_F2_KEY = 0x03,
	B_F3_KEY = 0x04,
	B_F4_KEY = 0x05,
	B_F5_KEY = 0x06,
	B_F6_KEY = 0x07,
	B_F7_KEY = 0x08,
	B_F8_KEY = 0x09,
	B_F9_KEY = 0x0a,
	B_F10_KEY = 0x0b,
	B_F11_KEY = 0x0c,
	B_F12_KEY = 0x0d,
	B_PRINT_KEY = 0x0e,
	B_SCROLL_KEY = 0x0f,
	B_PAUSE_KEY = 0x10
};

// Modifier bits ("modifiers").
enum
{
	B_SHIFT_KEY = 0x00000001,
	B_COMMAND_KEY = 0x00000002,
	B_CONTROL_KEY = 0x00000004,
	B_CAPS_LOCK = 0x00000008,
	B_SCROLL_LOCK = 0x00000010,
	B_NUM_LOCK = 0x00000020,
	B_OPTION_KEY = 0x00000040,
	B_MENU_KEY = 0x00000080,
	B_LEFT_SHIFT_KEY = 0x00000100,
	B_RIGHT_SHIFT_KEY = 0x00000200,
	B_LEFT_COMMAND_KEY = 0x00000400,
	B_RIGHT_COMMAND_KEY = 0x00000800,
	B_LEFT_CONTROL_KEY = 0x00001000,
	B_RIGHT_CONTROL_KEY = 0x00002000,
	B_LEFT_OPTION_KEY = 0x00004000,
	B_RIGHT_OPTION_KEY = 0x00008000
};

// Mouse buttons ("buttons").
enum
{
	B_PRIMARY_MOUSE_BUTTON = 0x01,
	B_SECONDARY_MOUSE_BUTTON = 0x02,
	B_TERTIARY_MOUSE_BUTTON = 0x04
};

// Transit codes, the second argument of BView::MouseMoved.
enum
{
	B_ENTERED_VIEW = 0,
	B_INSIDE_VIEW,
	B_EXITED_VIEW,
	B_OUTSIDE_VIEW
};

// Horizontal alignment of a label (BStringView).
enum alignment
{
	B_ALIGN_LEFT,
	B_ALIGN_RIGHT,
	B_ALIGN_CENTER
};

// Event masks of BView::SetMouseEventMask.
enum
{
	B_POINTER_EVENTS = 0x00000001,
	B_KEYBOARD_EVENTS = 0x00000002
};

// Options of BView::SetMouseEventMask.
enum
{
	B_LOCK_WINDOW_FOCUS = 0x00000001,
	B_SUSPEND_VIEW_FOCUS = 0x00000002,
	B_NO_POINTER_HISTORY = 0x00000004
};

// Resizing modes: four nibbles (top, left, bottom, right), each telling which
// side of the parent that edge of the view follows.
#define _VIEW_TOP_ 1UL
#define _VIEW_LEFT_ 2UL
#define _VIEW_BOTTOM_ 3UL
#define _VIEW_RIGHT_ 4UL
#define _VIEW_CENTER_ 5UL

#define _rule_(top, left, bottom, right) (((top) << 12) | ((left) << 8) | ((bottom) << 4) | (right))

#define B_FOLLOW_NONE 0
#define B_FOLLOW_ALL_SIDES _rule_(_VIEW_TOP_, _VIEW_LEFT_, _VIEW_BOTTOM_, _VIEW_RIGHT_)
#define B_FOLLOW_ALL B_FOLLOW_ALL_SIDES

#define B_FOLLOW_LEFT _rule_(0, _VIEW_LEFT_, 0, _VIEW_LEFT_)
#define B_FOLLOW_RIGHT _rule_(0, _VIEW_RIGHT_, 0, _VIEW_RIGHT_)
#define B_FOLLOW_LEFT_RIGHT _rule_(0, _VIEW_LEFT_, 0, _VIEW_RIGHT_)
#define B_FOLLOW_H_CENTER _rule_(0, _VIEW_CENTER_, 0, _VIEW_CENTER_)

#define B_FOLLOW_TOP _rule_(_VIEW_TOP_, 0, _VIEW_TOP_, 0)
#define B_FOLLOW_BOTTOM _rule_(_VIEW_BOTTOM_, 0, _VIEW_BOTTOM_, 0)
#define B_FOLLOW_TOP_BOTTOM _rule_(_VIEW_TOP_, 0, _VIEW_BOTTOM_, 0)
#define B_FOLLOW_V_CENTER _rule_(_VIEW_CENTER_, 0, _VIEW_CENTER_, 0)

// View flags.
const uint32 B_FULL_UPDATE_ON_RESIZE = 0x80000000UL;
const uint32 _B_RESERVED1_ = 0x40000000UL;
const uint32 B_WILL_DRAW = 0x20000000UL;
const uint32 B_PULSE_NEEDED = 0x10000000UL;
const uint32 B_NAVIGABLE_JUMP = 0x08000000UL;
const uint32 B_FRAME_EVENTS = 0x04000000UL;
const uint32 B_NAVIGABLE = 0x02000000UL;
const uint32 B_SUBPIXEL_PRECISE = 0x01000000UL;
const uint32 B_DRAW_ON_CHILDREN = 0x00800000UL;
const uint32 B_INPUT_METHOD_AWARE = 0x00400000UL;

enum orientation
{
	B_HORIZONTAL,
	B_VERTICAL
};

enum border_style
{
	B_PLAIN_BORDER,
	B_FANCY_BORDER,
	B_NO_BORDER
};

extern _IMPEXP_BE const float B_V_SCROLL_BAR_WIDTH;
extern _IMPEXP_BE const float B_H_SCROLL_BAR_HEIGHT;

// The system colour map, which B_CMAP8 pixels index.
_IMPEXP_BE const color_map* system_colors();

// A shade of color: tints below 1 lighten (0 is white), above 1 darken.
_IMPEXP_BE rgb_color tint_color(rgb_color color, float tint);

#define B_LIGHTEN_MAX_TINT 0.0F
#define B_LIGHTEN_2_TINT 0.385F
#define B_LIGHTEN_1_TINT 0.590F
#define B_NO_TINT 1.0F
#define B_DARKEN_1_TINT 1.147F
#define B_DARKEN_2_TINT 1.295F
#define B_DARKEN_3_TINT 1.407F
#define B_DARKEN_4_TINT 1.555F
#define B_DARKEN_MAX_TINT 2.0F
#define B_DISABLED_LABEL_TINT B_DARKEN_3_TINT
#define B_HIGHLIGHT_BACKGROUND_TINT B_DARKEN_2_TINT
#define B_DISABLED_MARK_TINT B_LIGHTEN_2_TINT

#endif // _INTERFACE_DEFS_H
