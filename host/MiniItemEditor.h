// BMiniItemEditor: a small editor the host embeds in its item list for one
// item. Made by an add-on's MakeMiniEditor and owned by the host, which
// deletes it through its virtual destructor. Its view runs on the host
// window's thread.
#ifndef _MINI_ITEM_EDITOR_H
#define _MINI_ITEM_EDITOR_H

#include <BeBuild.h>
#include <SupportDefs.h>

#include <ResourceAddonBase.h>
#include <ResourceHandle.h>

class BView;

class _EXPORT BMiniItemEditor : public BResourceAddonBase
{
public:
	BMiniItemEditor(const BResourceAddonArgs& args, BResourceHandle item);
	virtual ~BMiniItemEditor();

	const BResourceHandle& Item() const;

	virtual BView* View() = 0;

private:
	BResourceHandle fItem;
};

#endif // _MINI_ITEM_EDITOR_H
