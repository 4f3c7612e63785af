#include "AddonLoader.h"

#include <Errors.h>
#include <FullItemEditor.h>
#include <ResourceAddon.h>

#include <dlfcn.h>

#include <new>

#include "Document.h"

namespace {

// An image that never ends its list is broken; stop asking after this many.
const int32 kMaxAddonsPerImage = 256;

} // namespace

AddonLoader::AddonLoader() : fNextImageID(1) {}

AddonLoader::~AddonLoader()
{
	// Add-ons first: their code lives in the image.
	for (std::vector<Image>::reverse_iterator image = fImages.rbegin(); image != fImages.rend();
	     ++image) {
		for (BResourceAddon* addon : image->addons)
			delete addon;
		dlclose(image->handle);
	}
}

status_t AddonLoader::Load(const char* path, const BResourceAddonArgs& args)
{
	fError = "";
	if (path == NULL || path[0] == '\0') {
		fError = "no add-on image given";
		return B_BAD_VALUE;
	}
	void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
	if (handle == NULL) {
		const char* reason = dlerror();
		fError << "cannot load add-on image " << path << ": "
		       << (reason != NULL ? reason : "unknown error");
		return B_ENTRY_NOT_FOUND;
	}
	dlerror();
	make_nth_tessary_func entry =
	    reinterpret_cast<make_nth_tessary_func>(dlsym(handle, "make_nth_tessary"));
	if (entry == NULL) {
		const char* reason = dlerror();
		fError << "add-on image " << path << " has no make_nth_tessary entry";
		if (reason != NULL)
			fError << ": " << reason;
		dlclose(handle);
		return B_NAME_NOT_FOUND;
	}

	Image image = {handle, fNextImageID, {}};
	status_t status = B_OK;
	try {
		for (int32 n = 0; n < kMaxAddonsPerImage; n++) {
			BResourceAddon* addon = entry(n, image.id, args);
			if (addon == NULL)
				break;
			image.addons.push_back(addon);
		}
		if (image.addons.size() == size_t(kMaxAddonsPerImage)) {
			fError << "add-on image " << path << " offers more than " << kMaxAddonsPerImage
			       << " add-ons";
			status = B_ERROR;
		} else if (image.addons.empty()) {
			fError << "add-on image " << path << " offers no add-on";
			status = B_ERROR;
		}
	} catch (const std::bad_alloc&) {
		fError << "add-on image " << path << " ran out of memory making its add-ons";
		status = B_NO_MEMORY;
	} catch (...) {
		fError << "add-on image " << path << " failed while making its add-ons";
		status = B_ERROR;
	}
	if (status != B_OK) {
		for (BResourceAddon* addon : image.addons)
			delete addon;
		dlclose(handle);
		return status;
	}
	fNextImageID++;
	fImages.push_back(image);
	return B_OK;
}

const char* AddonLoader::ErrorMessage() const
{
	return fError.String();
}

int32 AddonLoader::CountAddons() const
{
	size_t count = 0;
	for (const Image& image : fImages)
		count += image.addons.size();
	return int32(count);
}

BResourceAddon* AddonLoader::AddonAt(int32 index) const
{
	if (index < 0)
		return NULL;
	for (const Image& image : fImages) {
		if (size_t(index) < image.addons.size())
			return image.addons[index];
		index -= int32(image.addons.size());
	}
	return NULL;
}

BResourceAddon* AddonLoader::BestAddonFor(Document& document, const BResourceHandle& item) const
{
	const BResourceItem* resolved = document.Item(item);
	BResourceAddon* best = NULL;
	float bestQuality = 0;
	for (const Image& image : fImages) {
		for (BResourceAddon* addon : image.addons) {
			const float quality = addon->PreciseQuality(resolved);
			if (quality > bestQuality) {
				best = addon;
				bestQuality = quality;
			}
		}
	}
	return best;
}

BFullItemEditor* AddonLoader::MakeEditorFor(Document& document, const BResourceHandle& item)
{
	fError = "";
	if (document.Item(item) == NULL) {
		fError = "the item is not in the document";
		return NULL;
	}
	BResourceAddon* addon = BestAddonFor(document, item);
	if (addon == NULL) {
		fError = "no add-on can edit the item";
		return NULL;
	}
	BFullItemEditor* editor = NULL;
	try {
		editor = addon->MakeFullEditor(document.AddonArgs(), item, NULL);
	} catch (const std::bad_alloc&) {
		fError = "out of memory making the editor";
		return NULL;
	} catch (status_t error) {
		fError << "making the editor failed with status " << int32(error);
		return NULL;
	}
	if (editor == NULL)
		fError = "the add-on makes no editor for the item";
	return editor;
}
