// AddonLoader: loads add-on images, keeps the add-ons they offer and lets
// the best of them build the full editor for an item. Owned by the program
// or a test, used by one thread at a time (the program's windows take turns
// through their WindowGroup). Editors it made must be deleted before the
// loader, since their code lives in the images it unloads.
#ifndef ADDON_LOADER_H
#define ADDON_LOADER_H

#include <image.h>
#include <ResourceAddonArgs.h>
#include <ResourceHandle.h>
#include <String.h>
#include <SupportDefs.h>

#include <vector>

class BFullItemEditor;
class BResourceAddon;
class Document;

class AddonLoader
{
public:
	AddonLoader();
	~AddonLoader();
	AddonLoader(const AddonLoader&) = delete;
	AddonLoader& operator=(const AddonLoader&) = delete;

	// Opens the image at path and keeps every add-on its make_nth_tessary
	// gives for n = 0, 1, ... On failure nothing is kept and ErrorMessage
	// says why: B_ENTRY_NOT_FOUND (no such image or it cannot be loaded),
	// B_NAME_NOT_FOUND (no entry), B_ERROR (the image offers no add-on).
	status_t Load(const char* path, const BResourceAddonArgs& args = BResourceAddonArgs());
	const char* ErrorMessage() const;

	int32 CountAddons() const;
	BResourceAddon* AddonAt(int32 index) const;

	// The add-on whose PreciseQuality for the item is highest (above 0);
	// NULL when none takes it.
	BResourceAddon* BestAddonFor(Document& document, const BResourceHandle& item) const;
	// A full editor from the best add-on, NULL (with ErrorMessage set) when
	// none takes the item or it makes no editor. The caller owns it.
	BFullItemEditor* MakeEditorFor(Document& document, const BResourceHandle& item);

private:
	struct Image
	{
		void* handle;
		image_id id;
		std::vector<BResourceAddon*> addons;
	};

	std::vector<Image> fImages;
	image_id fNextImageID;
	BString fError;
};

#endif // ADDON_LOADER_H
