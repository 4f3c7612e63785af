// BStringView: a view that shows one line of text from its left edge, in its
// font and high color on its view color. Owned by its parent
// view; used on its window's thread.
#ifndef _STRING_VIEW_H
#define _STRING_VIEW_H

#include <InterfaceDefs.h>
#include <View.h>

#include <string>

class _IMPEXP_BE BStringView : public BView
{
public:
	BStringView(BRect bounds, const char* name, const char* text,
	            uint32 resizeFlags = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = B_WILL_DRAW);
	virtual ~BStringView();

	void SetText(const char* text);
	const char* Text() const;

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	// The text's width and one line of the font.
	virtual void GetPreferredSize(float* width, float* height);

private:
	std::string fText;
};

#endif // _STRING_VIEW_H
