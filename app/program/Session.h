// Session: the open document and what belongs to it: the document, the files
// its items came from (none for the sample) and the add-on loader. Items
// added to the document join a file when the files are next used: the
// resource file of the item before them in the list, else of the first
// resource file's item after them, else the first resource file. Owned by the program's entry or a
// test, on the main thread; the windows reach the files through UseFiles, one thread at a time. It
// must outlive every window and editor on it.
#ifndef SESSION_H
#define SESSION_H

#include <SupportDefs.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "AddonLoader.h"
#include "Document.h"
#include "DocumentFile.h"

class Session
{
public:
	Session();
	~Session();
	Session(const Session&) = delete;
	Session& operator=(const Session&) = delete;

	// Reads the files named and adds their items to the document; a file
	// named twice (or through a link) is opened once, with a line in notes.
	// A raw file's item gets the position of its first name (from 1) as id.
	// On failure error names the file and why, and the document stays empty.
	status_t OpenFiles(const std::vector<std::string>& paths, uint64 itemSizeLimit,
	                   const std::function<std::string(uint64)>& whyTooLarge,
	                   std::vector<std::string>& notes, std::string& error);
	// Opens a path where no file is yet as an empty x86 resource file,
	// which the first save creates.
	void OpenNewResourceFile(const std::string& path);
	// Fills the document with the sample items, which belong to no file.
	void OpenSample();
	// Loads the add-on image for the document's items.
	status_t LoadAddon(const std::string& path, std::string& error);

	Document& GetDocument() { return fDocument; }
	const Document& GetDocument() const { return fDocument; }
	AddonLoader& Loader() { return fLoader; }
	// Before any window opens, or from the window that UseFiles calls.
	std::vector<DocumentFile>& Files() { return fFiles; }

	// Calls user with the files, one thread at a time, once every item is
	// in a file (when the document has a resource file).
	void UseFiles(const std::function<void(std::vector<DocumentFile>&)>& user);

private:
	// Gives the live items that no file holds to a file; under fFilesLock.
	void AdoptUnheld();

	Document fDocument;
	std::vector<DocumentFile> fFiles;
	// Guards fFiles once windows are open; never held while a window waits
	// for it.
	std::mutex fFilesLock;
	AddonLoader fLoader;
};

#endif // SESSION_H
