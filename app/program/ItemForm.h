// ItemForm: the fields one of the window's item commands asks for, in a bar
// above the status line: the type, id and name of an item to add (with a
// file or a text for its bytes) or of the shown item's new info, or the
// path of a file to import or to export to. Its command button, the
// window's default (Enter), posts the command's message to the window with
// what was typed; the window closes the form once the command is done, or
// keeps it open and says in its status line what is wrong. Owned by its
// window; used on the window's thread.
#ifndef ITEM_FORM_H
#define ITEM_FORM_H

#include <View.h>

#include <string>
#include <vector>

class BButton;
class BStringView;
class BTextControl;

class ItemForm : public BView
{
public:
	enum Fields
	{
		kItemInfo, // type, id, name
		kNewItem,  // type, id, name, and a file or a text for the bytes
		kPath      // one file's path
	};

	// command is the message code posted; title names the command in the
	// form, buttonLabel on its button.
	ItemForm(uint32 command, Fields fields, const char* title, const char* buttonLabel);

	uint32 Command() const { return fCommand; }
	// Fills the item fields: the type as --list writes it, the id, the name.
	void SetItem(const std::string& type, int32 id, const std::string& name);
	void SetPath(const std::string& path);

	// The command's message carries "item" ("TYPE:ID:NAME", as the command
	// line writes an item) and, for a new item, "file" or "text" when one
	// was typed; or "path".
	virtual void MessageReceived(BMessage* message);
	virtual void AttachedToWindow();
	virtual void FrameResized(float width, float height);
	// A row for the title and each field, and one for the buttons.
	virtual void GetPreferredSize(float* width, float* height);

private:
	void LayOutRows();
	float RowHeight() const;

	uint32 fCommand;
	Fields fFields;
	BStringView* fTitle;
	BTextControl* fType;
	BTextControl* fID;
	BTextControl* fName;
	BTextControl* fFile;
	BTextControl* fText;
	BTextControl* fPath;
	// The fields shown, top to bottom.
	std::vector<BTextControl*> fRows;
	BButton* fCancel;
	BButton* fOK;
};

// What the form posts to close itself without a command.
enum
{
	kMsgCloseForm = 'hfcl'
};

#endif // ITEM_FORM_H
