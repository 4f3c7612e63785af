#include <ResourceAddonArgs.h>

BResourceAddonArgs::BResourceAddonArgs() : fDocument(NULL) {}

BResourceAddonArgs::BResourceAddonArgs(Document* document) : fDocument(document) {}

BResourceAddonArgs::BResourceAddonArgs(const BResourceAddonArgs& other) : fDocument(other.fDocument)
{
}

BResourceAddonArgs::~BResourceAddonArgs() {}

BResourceAddonArgs& BResourceAddonArgs::operator=(const BResourceAddonArgs& other)
{
	fDocument = other.fDocument;
	return *this;
}

Document* BResourceAddonArgs::HostDocument() const
{
	return fDocument;
}
