// Any bytes as a project file: refused or read, never a crash or a huge allocation.
#include "results/projectfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pm::ProjectData project;
    if (pm::parseProject(data, size, project) == pm::ReadResult::Ok) {
        pm::ElementList list;
        pm::takeElements(project, list);
    }
    return 0;
}
