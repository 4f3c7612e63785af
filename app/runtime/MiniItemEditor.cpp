#include <MiniItemEditor.h>

BMiniItemEditor::BMiniItemEditor(const BResourceAddonArgs& args, BResourceHandle item)
    : BResourceAddonBase(args), fItem(item)
{
}

BMiniItemEditor::~BMiniItemEditor() {}

const BResourceHandle& BMiniItemEditor::Item() const
{
	return fItem;
}
