// BResourceAddonArgs: the host's context, handed to every add-on and editor
// it creates. The add-on passes it on unread; the host's runtime reads it to
// find the document behind an add-on base. A small value object, copied
// freely on any thread.
#ifndef _RESOURCE_ADDON_ARGS_H
#define _RESOURCE_ADDON_ARGS_H

#include <BeBuild.h>
#include <SupportDefs.h>

class Document;

class _EXPORT BResourceAddonArgs
{
public:
	// No document: every lock asked through these arguments is refused.
	BResourceAddonArgs();
	explicit BResourceAddonArgs(Document* document);
	BResourceAddonArgs(const BResourceAddonArgs& other);
	~BResourceAddonArgs();
	BResourceAddonArgs& operator=(const BResourceAddonArgs& other);

	Document* HostDocument() const;

private:
	Document* fDocument;
};

#endif // _RESOURCE_ADDON_ARGS_H
