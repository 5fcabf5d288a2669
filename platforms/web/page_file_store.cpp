#include "platforms/web/page_file_store.h"

#include "platforms/web/page.h"

#include <cstdio>

namespace rtweb {

std::optional<std::string> PageFileStore::read(const std::string& name, std::size_t maxBytes)
{
    return page::storageRead(keyOf(name), maxBytes);
}

bool PageFileStore::replace(const std::string& name, std::string_view bytes)
{
    if (page::storageWrite(keyOf(name), bytes))
        return true;
    std::fprintf(stderr, "could not save %s: the browser's storage refused it\n", name.c_str());
    return false;
}

bool PageFileStore::copy(const std::string& name, const std::string& copyName)
{
    if (page::storageCopy(keyOf(name), keyOf(copyName)))
        return true;
    std::fprintf(stderr, "could not copy %s to %s: the browser's storage refused it\n",
                 name.c_str(), copyName.c_str());
    return false;
}

} // namespace rtweb
