// Objects whose deletion waits for the next new game: the list owns them and deletes them all at once.
#pragma once

#include <memory>

class PendingObject {
public:
    virtual ~PendingObject() = default;
};

void AddPendingObject(std::unique_ptr<PendingObject> object);
int CountPendingObjects();
// Deletes every listed object through its virtual destructor and empties the list.
void DeletePendingObjects();
