// ItemForm: the fields of an item command, and its message.

#include "ItemForm.h"

#include <Button.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>
#include <TypeConstants.h>
#include <Window.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const uint32 kMsgFormDone = 'hfok';
// Space around the rows and between the buttons.
const float kInset = 4;

} // namespace

ItemForm::ItemForm(uint32 command, Fields fields, const char* title, const char* buttonLabel)
    : BView(BRect(0, 0, 400, 100), "ItemForm", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM, B_WILL_DRAW),
      fCommand(command), fFields(fields), fType(NULL), fID(NULL), fName(NULL), fFile(NULL),
      fText(NULL), fPath(NULL)
{
	fTitle = new BStringView(BRect(0, 0, 10, 10), "FormTitle", title, B_FOLLOW_LEFT_RIGHT);
	AddChild(fTitle);
	const auto addField = [this](const char* name, const char* label) {
		BTextControl* field =
		    new BTextControl(BRect(0, 0, 10, 10), name, label, "", NULL, B_FOLLOW_LEFT_RIGHT);
		AddChild(field);
		fRows.push_back(field);
		return field;
	};
	if (fields == kPath)
		fPath = addField("Path", "File:");
	else {
		fType = addField("Type", "Type:");
		fID = addField("ID", "ID:");
		fName = addField("Name", "Name:");
		fName->TextView()->SetMaxBytes(255);
		if (fields == kNewItem) {
			fFile = addField("File", "Bytes of file:");
			fText = addField("Text", "or text:");
		}
	}
	fCancel = new BButton(BRect(0, 0, 10, 10), "Cancel", "Cancel", new BMessage(kMsgCloseForm),
	                      B_FOLLOW_RIGHT);
	fOK = new BButton(BRect(0, 0, 10, 10), "OK", buttonLabel, new BMessage(kMsgFormDone),
	                  B_FOLLOW_RIGHT);
	AddChild(fCancel);
	AddChild(fOK);
}

void ItemForm::SetItem(const std::string& type, int32 id, const std::string& name)
{
	if (fType == NULL)
		return;
	fType->SetText(type.c_str());
	fID->SetText(std::to_string(id).c_str());
	fName->SetText(name.c_str());
}

void ItemForm::SetPath(const std::string& path)
{
	if (fPath != NULL)
		fPath->SetText(path.c_str());
}

void ItemForm::AttachedToWindow()
{
	BView::AttachedToWindow();
	fOK->SetTarget(this);
	fOK->MakeDefault(true);
	LayOutRows();
	fRows.front()->MakeFocus(true);
	fRows.front()->TextView()->SelectAll();
}

void ItemForm::FrameResized(float width, float height)
{
	BView::FrameResized(width, height);
	LayOutRows();
}

float ItemForm::RowHeight() const
{
	float height;
	fRows.front()->GetPreferredSize(NULL, &height);
	return height;
}

void ItemForm::GetPreferredSize(float* width, float* height)
{
	float buttonHeight;
	fOK->GetPreferredSize(NULL, &buttonHeight);
	float titleHeight;
	fTitle->GetPreferredSize(NULL, &titleHeight);
	if (width != NULL)
		fRows.front()->GetPreferredSize(width, NULL);
	if (height != NULL) {
		*height = kInset + titleHeight + float(fRows.size()) * (RowHeight() + kInset) +
		          buttonHeight + kInset - 1;
	}
}

void ItemForm::LayOutRows()
{
	// The labels line up: every field starts past the widest label.
	float divider = 0;
	for (BTextControl* row : fRows)
		divider = std::max(divider, std::ceil(StringWidth(row->Label())) + 6);
	const float width = Bounds().Width() - 2 * kInset;
	float y = kInset;
	float titleHeight;
	fTitle->GetPreferredSize(NULL, &titleHeight);
	fTitle->MoveTo(kInset, y);
	fTitle->ResizeTo(width, titleHeight - 1);
	y += titleHeight;
	const float rowHeight = RowHeight();
	for (BTextControl* row : fRows) {
		row->MoveTo(kInset, y);
		row->ResizeTo(width, rowHeight - 1);
		row->SetDivider(divider);
		y += rowHeight + kInset;
	}
	float okWidth;
	float buttonHeight;
	fOK->GetPreferredSize(&okWidth, &buttonHeight);
	float cancelWidth;
	fCancel->GetPreferredSize(&cancelWidth, NULL);
	const float right = Bounds().right - kInset;
	fOK->MoveTo(right - okWidth + 1, y);
	fOK->ResizeTo(okWidth - 1, buttonHeight - 1);
	fCancel->MoveTo(right - okWidth - kInset - cancelWidth + 1, y);
	fCancel->ResizeTo(cancelWidth - 1, buttonHeight - 1);
}

void ItemForm::MessageReceived(BMessage* message)
{
	if (message->what != kMsgFormDone) {
		BView::MessageReceived(message);
		return;
	}
	BMessage command(fCommand);
	if (fPath != NULL)
		command.AddString("path", fPath->Text());
	else {
		command.AddString(
		    "item", (std::string(fType->Text()) + ":" + fID->Text() + ":" + fName->Text()).c_str());
	}
	if (fFile != NULL && fFile->Text()[0] != '\0')
		command.AddString("file", fFile->Text());
	if (fText != NULL && fText->Text()[0] != '\0')
		command.AddData("text", B_RAW_TYPE, fText->Text(), ssize_t(strlen(fText->Text())));
	Window()->PostMessage(&command);
}
