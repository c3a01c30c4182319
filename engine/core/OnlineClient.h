// Finding and starting the separately installed online client.
#pragma once

#include <cstddef>
#include <string>

// The registered folder is read into 2048 bytes: at most 1023 units and the terminator.
constexpr std::size_t ONLINE_CLIENT_FOLDER_CAPACITY = 1024;

// True when the client's folder is registered; the folder is copied out when folder is given.
bool GetOnlineClientFolder(std::u16string* folder);
// Starts the client and asks the program to quit; false, and no quit, when it is not registered or did not start.
bool LaunchOnlineClient();
