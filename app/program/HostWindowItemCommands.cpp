// HostWindow: the item commands (add, remove, item info, import, export),
// the form that asks for their arguments, and files dropped on the window.

#include "HostWindow.h"

#include <Entry.h>
#include <ListView.h>
#include <Path.h>
#include <ResourceItem.h>
#include <StringView.h>
#include <TypeConstants.h>

#include <algorithm>

#include "HostCommands.h"
#include "ItemDescription.h"
#include "ItemFile.h"
#include "ItemForm.h"
#include "ItemListing.h"
#include "ItemReference.h"

namespace {

// The name of a command's undo step and of its failure, for notices.
std::string Failed(const char* what, const std::string& why)
{
	return std::string("Not ") + what + ": " + why;
}

} // namespace

void HostWindow::OpenForm(ItemForm* form)
{
	CloseForm();
	fForm = form;
	fForm->SetViewColor(fStatus->Parent()->ViewColor());
	AddChild(fForm);
	// The window grows by the form, so that the dump keeps its lines.
	float height;
	fForm->GetPreferredSize(NULL, &height);
	ResizeTo(Bounds().Width(), Bounds().Height() + height + 1);
	LayOut();
	UpdateTitle();
}

void HostWindow::CloseForm()
{
	if (fForm == NULL)
		return;
	float height;
	fForm->GetPreferredSize(NULL, &height);
	fForm->RemoveSelf();
	delete fForm;
	fForm = NULL;
	ResizeTo(Bounds().Width(), Bounds().Height() - (height + 1));
	LayOut();
	if (DumpView() != NULL)
		DumpView()->MakeFocus(true);
	else
		fList->MakeFocus(true);
}

bool HostWindow::RefusedWithoutItem(const char* what)
{
	if (fShown.IsValid())
		return false;
	Finish(Failed(what, "the document has no items"));
	return true;
}

const char* HostWindow::PathOrForm(const BMessage& message, const char* title,
                                   const char* buttonLabel)
{
	const char* path;
	if (message.FindString("path", &path) == B_OK)
		return path;
	OpenForm(new ItemForm(message.what, ItemForm::kPath, title, buttonLabel));
	return NULL;
}

void HostWindow::Finish(const std::string& failure)
{
	// A failed command keeps its form open, with what was typed, so that the
	// user can mend it; the notice says what is wrong.
	if (failure.empty())
		CloseForm();
	else
		SetNotice(failure);
	UpdateTitle();
}

status_t HostWindow::ReadFileBytes(const std::string& path, std::string& bytes,
                                   std::string& error) const
{
	ItemFile file(path);
	const uint64 limit =
	    fDocument.ItemSizeLimit() > 0 ? fDocument.ItemSizeLimit() : ItemFile::kMaxSize;
	if (file.Read(limit) != B_OK) {
		error = file.ErrorMessage();
		return B_ERROR;
	}
	bytes.assign(file.Data().begin(), file.Data().end());
	return B_OK;
}

int32 HostWindow::NextFreeId(type_code type) const
{
	std::vector<int32> taken;
	for (const BResourceHandle& item : fDocument.Items()) {
		fDocument.ReadItem(item, [&taken, type](const BResourceItem& read) {
			if (read.Type() == type)
				taken.push_back(read.ID());
		});
	}
	int32 id = 1;
	while (std::find(taken.begin(), taken.end(), id) != taken.end())
		id++;
	return id;
}

status_t HostWindow::AddItem(const ItemReference& reference, const std::string& bytes,
                             std::string& error)
{
	// After the shown item, in its file.
	const int32 index = fShown.IsValid() ? CurrentItem() + 1 : fDocument.CountItems();
	BResourceHandle added;
	if (fDocument.InsertItem(index, reference.type, reference.id, reference.name.c_str(),
	                         bytes.data(), bytes.size(), &added, &error) != B_OK)
		return B_ERROR;
	ApplyChanges();
	Present(added);
	return B_OK;
}

void HostWindow::AddItemCommand(const BMessage& message)
{
	StartCommand();
	const char* text;
	if (message.FindString("item", &text) != B_OK) {
		ItemForm* form =
		    new ItemForm(kMsgAddItem, ItemForm::kNewItem, "Add an item after the shown one", "Add");
		form->SetItem(ItemListing::TypeText(B_RAW_TYPE), NextFreeId(B_RAW_TYPE), "");
		OpenForm(form);
		return;
	}
	ItemReference reference;
	std::string error;
	if (!ItemReference::Parse(text, reference, error))
		return Finish(Failed("added", error));
	const char* path = NULL;
	const void* content = NULL;
	ssize_t contentLength = 0;
	message.FindString("file", &path);
	message.FindData("text", B_RAW_TYPE, &content, &contentLength);
	std::string bytes;
	if (path != NULL && content != NULL)
		return Finish(Failed("added", "give either a file or a text for its bytes"));
	if (path != NULL && ReadFileBytes(path, bytes, error) != B_OK)
		return Finish(Failed("added", error));
	if (content != NULL)
		bytes.assign(static_cast<const char*>(content), size_t(contentLength));
	if (AddItem(reference, bytes, error) != B_OK)
		return Finish(Failed("added", error));
	Finish("");
}

void HostWindow::RemoveItemCommand(const BMessage&)
{
	StartCommand();
	std::string error;
	if (RefusedWithoutItem("removed"))
		return;
	if (fDocument.RemoveItems({fShown}, &error) != B_OK)
		return Finish(Failed("removed", error));
	CloseForm();
	ApplyChanges();
	UpdateTitle();
}

void HostWindow::ItemInfoCommand(const BMessage& message)
{
	StartCommand();
	if (RefusedWithoutItem("changed"))
		return;
	const char* text;
	if (message.FindString("item", &text) != B_OK) {
		ItemForm* form = new ItemForm(kMsgItemInfo, ItemForm::kItemInfo,
		                              "The shown item's type, id and name", "Apply");
		fDocument.ReadItem(fShown, [form](const BResourceItem& item) {
			form->SetItem(ItemListing::TypeText(item.Type()), item.ID(), item.Name());
		});
		OpenForm(form);
		return;
	}
	ItemReference reference;
	std::string error;
	if (!ItemReference::Parse(text, reference, error))
		return Finish(Failed("changed", error));
	if (!reference.hasName) {
		// TYPE:ID alone keeps the name.
		fDocument.ReadItem(
		    fShown, [&reference](const BResourceItem& item) { reference.name = item.Name(); });
	}
	if (fDocument.SetItemInfo(fShown, reference.type, reference.id, reference.name.c_str(),
	                          &error) != B_OK)
		return Finish(Failed("changed", error));
	ApplyChanges();
	Finish("");
}

void HostWindow::ImportCommand(const BMessage& message)
{
	StartCommand();
	if (RefusedWithoutItem("imported"))
		return;
	const char* path =
	    PathOrForm(message, "Replace the shown item's bytes with a file's", "Import");
	if (path == NULL)
		return;
	std::string bytes;
	std::string error;
	if (ReadFileBytes(path, bytes, error) != B_OK ||
	    fDocument.ReplaceItemData(fShown, bytes.data(), bytes.size(), &error) != B_OK)
		return Finish(Failed("imported", error));
	ApplyChanges();
	Finish("");
}

void HostWindow::ExportCommand(const BMessage& message)
{
	StartCommand();
	if (RefusedWithoutItem("exported"))
		return;
	const char* path = PathOrForm(message, "Write the shown item's bytes to a file", "Export");
	if (path == NULL)
		return;
	std::string bytes;
	fDocument.ReadItem(fShown, [&bytes](const BResourceItem& item) {
		const BMallocIO& data = item.DataIO();
		bytes.assign(static_cast<const char*>(data.Buffer()), data.BufferLength());
	});
	// The atomic writer: the file holds its old bytes or all of the new
	// ones, never a part.
	ItemFile file(path);
	if (file.Write(bytes.data(), bytes.size()) != B_OK)
		return Finish(Failed("exported", file.ErrorMessage()));
	Finish("");
	SetNotice("Exported " + std::to_string(bytes.size()) + " bytes to " + path);
	UpdateTitle();
}

void HostWindow::AddDroppedFiles(const BMessage& drop)
{
	StartCommand();
	entry_ref ref;
	for (int32 index = 0; drop.FindRef("refs", index, &ref) == B_OK; index++) {
		BPath path(&ref);
		std::string bytes;
		std::string error;
		if (path.InitCheck() != B_OK) {
			SetNotice(Failed("added", std::string("a dropped file cannot be found: ") + ref.name));
			break;
		}
		if (ReadFileBytes(path.Path(), bytes, error) != B_OK) {
			SetNotice(Failed("added", error));
			break;
		}
		// The type its bytes say, the next id free for it, its file's name.
		ItemReference reference;
		reference.type = ItemDescription::TypeOfContents(bytes.data(), bytes.size());
		reference.id = NextFreeId(reference.type);
		reference.name = path.Leaf();
		if (reference.name.size() > kMaxItemNameLength) {
			size_t end = kMaxItemNameLength;
			while (end > 0 && (reference.name[end] & 0xC0) == 0x80)
				end--;
			reference.name.resize(end);
		}
		if (AddItem(reference, bytes, error) != B_OK) {
			SetNotice(Failed("added", error));
			break;
		}
	}
	UpdateTitle();
}
