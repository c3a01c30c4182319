#include "rules/PendingObjects.h"

#include <vector>

namespace {

std::vector<std::unique_ptr<PendingObject>> s_PendingObjects;

} // namespace

void AddPendingObject(std::unique_ptr<PendingObject> object)
{
    if (object != nullptr)
        s_PendingObjects.push_back(std::move(object));
}

int CountPendingObjects()
{
    return static_cast<int>(s_PendingObjects.size());
}

void DeletePendingObjects()
{
    // Moved out first: a destructor that adds to the list must not invalidate the walk.
    std::vector<std::unique_ptr<PendingObject>> doomed;
    doomed.swap(s_PendingObjects);
    doomed.clear();
}
