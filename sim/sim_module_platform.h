#pragma once
// The operating system of the simulated game as the module's start-up sees it: the thread the
// module asks for runs when the simulation chooses, hotkey presses arrive with whether the game is
// in front, and every request the module makes is recorded in order.
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "module/module_platform.h"

namespace tarvek::sim {

class SimModulePlatform : public ModulePlatform {
public:
    SimModulePlatform(std::string modulePath, HostAddr hostBase, std::shared_ptr<const Platform> services)
        : path_(std::move(modulePath)), base_(hostBase), services_(std::move(services)) {}

    // Runs the thread the module started, on the calling thread; false when it started none.
    bool runStartedThread();
    // Messages for the module's message loop, taken in order; after quit the loop ends once the
    // queue is empty.
    void pressHotkey(int id, bool gameInFront);
    void postOtherMessage();
    void quit();
    // The next registration of Ctrl+key fails with error.
    void refuseHotkey(char key, uint32_t error);
    // "thread", "services", "register G", "unregister G", "dispatch" ... in the order asked.
    std::vector<std::string> requests() const;

    std::string modulePath() override { return path_; }
    HostAddr hostBase() override { return base_; }
    bool startThread(void (*proc)(void*), void* argument) override;
    bool registerHotkey(int id, char key, uint32_t& error) override;
    void unregisterHotkey(int id) override;
    int nextMessage(int& hotkeyId) override;
    void dispatchMessage() override;
    bool foregroundIsThisProcess() override;
    // Recorded as "services": the start-up asks for them to create its catalog worker.
    std::shared_ptr<const Platform> services() override;

private:
    struct Message {
        int hotkeyId;
        bool gameInFront;
    };
    void record(std::string request);

    std::string path_;
    HostAddr base_;
    std::shared_ptr<const Platform> services_;
    void (*threadProc_)(void*) = nullptr;
    void* threadArgument_ = nullptr;
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Message> messages_;
    bool quit_ = false;
    bool gameInFront_ = false;
    char refusedKey_ = 0;
    uint32_t refusalError_ = 0;
    std::map<int, char> keys_;  // registered hotkey identifiers
    std::vector<std::string> requests_;
};

}  // namespace tarvek::sim
