// Random input for reshost's window: items of the sizes where lines and the
// end of the data meet, and script lines of every kind of input. The redraw
// property test runs them; the script fuzzer's seed corpus is made of them.
#ifndef RANDOM_SCRIPTS_H
#define RANDOM_SCRIPTS_H

#include <SupportDefs.h>

#include <random>
#include <string>
#include <vector>

inline std::string RandomBytes(std::mt19937& random, size_t size)
{
	std::string bytes(size, '\0');
	for (char& byte : bytes) {
		// Mostly text, some of every other value: both columns get all
		// kinds of characters.
		const uint32 pick = random() % 4;
		byte = char(pick == 0 ? random() % 256 : 0x20 + random() % 0x5f);
	}
	return bytes;
}

// Items of the sizes where lines and the end of the data meet.
inline std::vector<std::string> RandomItems(std::mt19937& random)
{
	static const size_t kSizes[] = {0, 1, 7, 15, 16, 17, 31, 32, 33, 40, 47, 48, 100, 255, 600};
	std::vector<std::string> items;
	for (int i = 0; i < 3; i++) {
		const size_t size = random() % 5 == 0 ? random() % 4000 : kSizes[random() % 15];
		items.push_back(RandomBytes(random, size));
	}
	return items;
}

// One script line of any kind of input, with the mouse button's state kept
// consistent across lines (a press, moves with the button held, a release).
class ScriptGenerator
{
public:
	explicit ScriptGenerator(uint32 seed) : fRandom(seed), fButtonDown(false) {}

	std::mt19937& Random() { return fRandom; }

	std::vector<std::string> Make(int32 count)
	{
		std::vector<std::string> script;
		for (int32 i = 0; i < count; i++)
			script.push_back(Line());
		return script;
	}

private:
	int32 Pick(int32 from, int32 to) { return from + int32(fRandom() % uint32(to - from + 1)); }

	std::string Place()
	{
		switch (Pick(0, 4)) {
		case 0:
		case 1:
			return "hex " + std::to_string(Pick(0, 700));
		case 2:
			return "ascii " + std::to_string(Pick(0, 700));
		default:
			// Anywhere, outside the view and the window too.
			return "at " + std::to_string(Pick(-60, 900)) + " " + std::to_string(Pick(-80, 760));
		}
	}

	std::string Key()
	{
		static const char* const kArrows[] = {"Left", "Right", "Up", "Down"};
		static const char* const kOthers[] = {"Home",  "End", "PageUp", "PageDown", "Insert",
		                                      "Enter", "Tab", "Escape", "Return"};
		static const char kHexDigits[] = "0123456789abcdefABCDEF";
		static const char kCharacters[] = "Hi! zq~0`{";
		const int32 pick = Pick(0, 99);
		if (pick < 40) {
			const std::string arrow = kArrows[Pick(0, 3)];
			return "key " + (Pick(0, 1) ? "Shift+" + arrow : arrow);
		}
		if (pick < 55)
			return Pick(0, 2) ? "key Backspace" : "key Delete";
		if (pick < 80)
			return std::string("key ") + kHexDigits[Pick(0, 21)];
		if (pick < 92) {
			const char c = kCharacters[Pick(0, 9)];
			return c == ' ' ? "key Space" : std::string("key ") + c;
		}
		return std::string("key ") + kOthers[Pick(0, 8)];
	}

	std::string Line()
	{
		const int32 pick = Pick(0, 99);
		if (pick < 35)
			return Key();
		if (pick < 38)
			return "type \"" + std::string(Pick(0, 1) ? "4a" : "ok ") + "\"";
		if (pick < 60) {
			if (!fButtonDown) {
				fButtonDown = true;
				return "press " + Place();
			}
			if (Pick(0, 3) > 0)
				return "move " + Place();
			fButtonDown = false;
			return "release " + Place();
		}
		if (pick < 66)
			return "move " + Place();
		if (pick < 74)
			return "wait " + std::to_string(Pick(100, 1500)) + "ms";
		if (pick < 78)
			return Pick(0, 1) ? "focus on" : "focus off";
		if (pick < 82)
			return Pick(0, 1) ? "activate" : "deactivate";
		if (pick < 86)
			return "resize " + std::to_string(Pick(120, 900)) + " " + std::to_string(Pick(60, 700));
		if (pick < 89)
			return "wheel " + std::to_string(Pick(-3, 3));
		if (pick < 95)
			return Pick(0, 2) ? "undo" : "redo";
		return Pick(0, 1) ? "next" : "previous";
	}

	std::mt19937 fRandom;
	bool fButtonDown;
};

#endif // RANDOM_SCRIPTS_H
