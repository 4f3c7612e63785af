// Session: opening the document's files or the sample, loading the add-on,
// and the files of added items.

#include "Session.h"

#include <algorithm>

#include "SampleItems.h"

Session::Session() {}

Session::~Session() {}

status_t Session::OpenFiles(const std::vector<std::string>& paths, uint64 itemSizeLimit,
                            const std::function<std::string(uint64)>& whyTooLarge,
                            std::vector<std::string>& notes, std::string& error)
{
	std::vector<DocumentFile> files;
	std::vector<int32> positions;
	for (size_t position = 0; position < paths.size(); position++) {
		DocumentFile file(paths[position]);
		if (file.Read(itemSizeLimit, whyTooLarge) != B_OK) {
			error = file.ErrorMessage();
			return B_ERROR;
		}
		// Two items on one file would each save over the other's edits.
		std::vector<DocumentFile>::iterator same =
		    std::find_if(files.begin(), files.end(),
		                 [&file](const DocumentFile& other) { return other.IsSameFile(file); });
		if (same != files.end()) {
			notes.push_back(paths[position] + " is " +
			                paths[size_t(positions[size_t(same - files.begin())] - 1)] +
			                " again: opened once");
			continue;
		}
		files.push_back(std::move(file));
		positions.push_back(int32(position + 1));
	}
	for (size_t index = 0; index < files.size(); index++)
		files[index].AddItemsTo(fDocument, positions[index]);
	std::lock_guard<std::mutex> guard(fFilesLock);
	fFiles = std::move(files);
	return B_OK;
}

void Session::OpenNewResourceFile(const std::string& path)
{
	DocumentFile file(path);
	file.StartResourceFile();
	std::lock_guard<std::mutex> guard(fFilesLock);
	fFiles.push_back(std::move(file));
}

void Session::OpenSample()
{
	for (const ResourceFile::Item& item : SampleItems::Items())
		fDocument.AddItem(item.type, item.id, item.name.c_str(), item.data.data(),
		                  item.data.size());
}

status_t Session::LoadAddon(const std::string& path, std::string& error)
{
	if (fLoader.Load(path.c_str(), fDocument.AddonArgs()) != B_OK) {
		error = fLoader.ErrorMessage();
		return B_ERROR;
	}
	return B_OK;
}

void Session::UseFiles(const std::function<void(std::vector<DocumentFile>&)>& user)
{
	std::lock_guard<std::mutex> guard(fFilesLock);
	AdoptUnheld();
	user(fFiles);
}

void Session::AdoptUnheld()
{
	const std::vector<BResourceHandle> items = fDocument.Items();
	std::vector<DocumentFile*> homes(items.size(), NULL);
	for (size_t index = 0; index < items.size(); index++) {
		for (DocumentFile& file : fFiles) {
			if (file.Holds(items[index]))
				homes[index] = &file;
		}
	}
	// The resource file of the nearest item before, else after, else the
	// first resource file; a raw file holds its one item only.
	auto resourceFile = [](DocumentFile* file) {
		return file != NULL && file->IsResourceFile() ? file : NULL;
	};
	std::vector<DocumentFile*>::iterator firstResources = std::find_if(
	    homes.begin(), homes.end(), [&](DocumentFile* file) { return resourceFile(file) != NULL; });
	DocumentFile* fallback = NULL;
	if (firstResources != homes.end())
		fallback = *firstResources;
	else {
		for (DocumentFile& file : fFiles) {
			if (fallback == NULL && file.IsResourceFile())
				fallback = &file;
		}
	}
	DocumentFile* before = NULL;
	for (size_t index = 0; index < items.size(); index++) {
		if (homes[index] == NULL && (before != NULL || fallback != NULL)) {
			homes[index] = before != NULL ? before : fallback;
			homes[index]->Adopt(items[index]);
		}
		if (resourceFile(homes[index]) != NULL)
			before = homes[index];
	}
}
