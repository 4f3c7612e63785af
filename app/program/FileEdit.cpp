// FileEdit: adding, replacing and removing an item of a file from the
// command line.

#include "FileEdit.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "ItemFile.h"
#include "Session.h"

namespace {

// The file's live item of that type and id that comes first, or an invalid
// handle.
BResourceHandle FindItem(const Document& document, const ItemReference& reference)
{
	for (const BResourceHandle& handle : document.Items()) {
		const BResourceItem* item = document.Item(handle);
		if (item->Type() == reference.type && item->ID() == reference.id)
			return handle;
	}
	return BResourceHandle();
}

// A file that is neither a resource file nor an executable is one raw item:
// it has no resources to change.
status_t CheckResources(const DocumentFile& file, const char* option,
                        const ItemReference& reference, std::string& error)
{
	if (file.IsResourceFile())
		return B_OK;
	error = std::string(option) + " " + reference.Text() + ": " + file.Path() +
	        " is neither a resource file nor an executable: it has no resources to change";
	return B_ERROR;
}

// Saves the session's one file. A file another program changed since it
// was read is not saved over: that program's bytes would be lost unseen.
// The other warnings the window asks a second save for stand against
// nothing the user asked for here; they become notes.
status_t Save(Session& session, std::vector<std::string>& notes, std::string& error)
{
	status_t status = B_OK;
	Document& document = session.GetDocument();
	session.UseFiles([&](std::vector<DocumentFile>& files) {
		DocumentFile& file = files.front();
		const std::string change = file.ChangeOnDisk();
		if (!change.empty()) {
			error = file.Path() + ": " + change + "; not saved";
			status = B_ERROR;
			return;
		}
		const std::string warning = file.SaveWarning(document);
		if (file.Save(document) != B_OK) {
			error = file.ErrorMessage();
			status = B_ERROR;
			return;
		}
		if (!warning.empty())
			notes.push_back(warning);
		if (!file.SaveNotice().empty())
			notes.push_back(file.SaveNotice());
	});
	return status;
}

} // namespace

status_t FileEdit::ReadData(const std::string& path, uint64 sizeLimit, std::string& data,
                            std::string& error)
{
	if (path != "-") {
		ItemFile file(path);
		if (file.Read(sizeLimit) != B_OK) {
			error = "the data file " + file.ErrorMessage();
			return B_ERROR;
		}
		data.assign(file.Data().begin(), file.Data().end());
		return B_OK;
	}
	data.clear();
	char buffer[65536];
	for (;;) {
		const ssize_t count = read(STDIN_FILENO, buffer, sizeof(buffer));
		if (count < 0 && errno == EINTR)
			continue;
		if (count < 0) {
			error = std::string("cannot read the data on standard input: ") + strerror(errno);
			return B_ERROR;
		}
		if (count == 0)
			return B_OK;
		data.append(buffer, size_t(count));
		if (data.size() > sizeLimit) {
			error = "the data on standard input is more than " + std::to_string(sizeLimit) +
			        " bytes, the most an item may have";
			return B_ERROR;
		}
	}
}

status_t FileEdit::Add(Session& session, const ItemReference& reference, const std::string& data,
                       std::vector<std::string>& notes, std::string& error)
{
	if (CheckResources(session.Files().front(), "--add", reference, error) != B_OK)
		return B_ERROR;
	Document& document = session.GetDocument();
	const BResourceHandle existing = FindItem(document, reference);
	std::string why;
	status_t status;
	if (existing.IsValid()) {
		// The name first: a refused name leaves the bytes as they were.
		status = reference.hasName ? document.SetItemInfo(existing, reference.type, reference.id,
		                                                  reference.name.c_str(), &why)
		                           : B_OK;
		if (status == B_OK)
			status = document.ReplaceItemData(existing, data.data(), data.size(), &why);
	} else {
		status = document.InsertItem(document.CountItems(), reference.type, reference.id,
		                             reference.name.c_str(), data.data(), data.size(), NULL, &why);
	}
	if (status != B_OK) {
		error = "--add " + reference.Text() + ": " + why;
		return B_ERROR;
	}
	return Save(session, notes, error);
}

status_t FileEdit::Remove(Session& session, const ItemReference& reference,
                          std::vector<std::string>& notes, std::string& error)
{
	if (CheckResources(session.Files().front(), "--remove", reference, error) != B_OK)
		return B_ERROR;
	Document& document = session.GetDocument();
	const BResourceHandle existing = FindItem(document, reference);
	if (!existing.IsValid()) {
		error =
		    "--remove " + reference.Text() + ": no such item in " + session.Files().front().Path();
		return B_ERROR;
	}
	std::string why;
	if (document.RemoveItems({existing}, &why) != B_OK) {
		error = "--remove " + reference.Text() + ": " + why;
		return B_ERROR;
	}
	return Save(session, notes, error);
}
