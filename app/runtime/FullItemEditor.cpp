#include <FullItemEditor.h>

#include <Errors.h>

BFullItemEditor::BFullItemEditor(const BResourceAddonArgs& args, BResourceHandle item,
                                 BHandler* changeTarget)
    : BResourceAddonBase(args), fPrimaryItem(item)
{
	if (changeTarget != NULL)
		SetChangeTarget(changeTarget);
}

BFullItemEditor::~BFullItemEditor() {}

const BResourceHandle& BFullItemEditor::PrimaryItem() const
{
	return fPrimaryItem;
}

BResourceHandle& BFullItemEditor::PrimaryItem()
{
	return fPrimaryItem;
}

void BFullItemEditor::SetPrimaryItem(BResourceHandle item)
{
	fPrimaryItem = item;
}

void BFullItemEditor::DataChanged(BResourceHandle&) {}

bool BFullItemEditor::HasOpenChanges() const
{
	return false;
}

status_t BFullItemEditor::ApplyChanges()
{
	return B_OK;
}

status_t BFullItemEditor::Retarget(BResourceHandle item)
{
	SetPrimaryItem(item);
	return B_OK;
}

status_t BFullItemEditor::EditMenuItem(int32)
{
	return B_ERROR;
}

BMenu* BFullItemEditor::CustomMenu(int32)
{
	return NULL;
}

status_t BFullItemEditor::GetConfiguration(BMessage*) const
{
	return B_OK;
}

status_t BFullItemEditor::SetConfiguration(const BMessage*)
{
	return B_OK;
}
