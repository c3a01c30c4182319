// The scene the game runs its level scripts in, on the headless backend at the table's size, with an install
// folder current and the card file's commands entered: the data step draws with the game's own code in it.
#pragma once

#include <string>

namespace datac {

// The path made absolute against the current folder, which the scene changes.
std::string AbsolutePath(const std::string& path);

class HeadlessScene {
public:
    explicit HeadlessScene(const std::string& installFolder);
    ~HeadlessScene();
    HeadlessScene(const HeadlessScene&) = delete;
    HeadlessScene& operator=(const HeadlessScene&) = delete;

    bool Ready() const;

private:
    std::string m_previousFolder;
    bool m_entered = false;
};

} // namespace datac
