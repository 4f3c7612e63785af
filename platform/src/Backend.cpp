// The registry of backends and the choice of the current one.
#include "Backend.h"

#include <atomic>
#include <mutex>
#include <string.h>
#include <vector>

namespace {

struct Backends
{
	std::mutex mutex;
	std::vector<const BPrivate::Backend*> known;
	const BPrivate::Backend* current = NULL;
	bool frozen = false;
};

// Never destroyed: windows may still present while the process exits.
Backends& All()
{
	static Backends* sBackends = new Backends;
	return *sBackends;
}

std::atomic<const BPrivate::Backend*> sCurrent(NULL);

} // namespace

namespace BPrivate {

BackendRegistration::BackendRegistration(const Backend& backend)
{
	Backends& backends = All();
	std::lock_guard<std::mutex> guard(backends.mutex);
	backends.known.push_back(&backend);
}

const Backend* FindBackend(const char* name)
{
	Backends& backends = All();
	std::lock_guard<std::mutex> guard(backends.mutex);
	for (const Backend* backend : backends.known) {
		if (strcmp(backend->name, name) == 0)
			return backend;
	}
	return NULL;
}

const Backend& CurrentBackend()
{
	const Backend* current = sCurrent.load();
	if (current != NULL)
		return *current;
	// The headless backend needs no opening.
	const Backend* headless = FindBackend("headless");
	const Backend* expected = NULL;
	sCurrent.compare_exchange_strong(expected, headless);
	return *sCurrent.load();
}

status_t UseBackend(const Backend& backend)
{
	Backends& backends = All();
	std::lock_guard<std::mutex> guard(backends.mutex);
	const Backend* previous = sCurrent.load();
	if (previous == &backend || (previous == NULL && strcmp(backend.name, "headless") == 0)) {
		sCurrent.store(&backend);
		return B_OK;
	}
	if (backends.frozen)
		return B_NOT_ALLOWED;
	status_t status = backend.Open();
	if (status != B_OK)
		return status;
	if (previous != NULL)
		previous->Close();
	sCurrent.store(&backend);
	return B_OK;
}

void FreezeBackend()
{
	Backends& backends = All();
	std::lock_guard<std::mutex> guard(backends.mutex);
	backends.frozen = true;
}

} // namespace BPrivate
