#include "sim/sim_module_platform.h"

namespace tarvek::sim {

bool SimModulePlatform::runStartedThread() {
    if (!threadProc_) return false;
    threadProc_(threadArgument_);
    return true;
}

void SimModulePlatform::pressHotkey(int id, bool gameInFront) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({id, gameInFront});
    ready_.notify_all();
}

void SimModulePlatform::postOtherMessage() { pressHotkey(-1, gameInFront_); }

void SimModulePlatform::quit() {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    ready_.notify_all();
}

void SimModulePlatform::refuseHotkey(char key, uint32_t error) {
    std::lock_guard<std::mutex> lock(mutex_);
    refusedKey_ = key;
    refusalError_ = error;
}

std::vector<std::string> SimModulePlatform::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void SimModulePlatform::record(std::string request) {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(std::move(request));
}

bool SimModulePlatform::startThread(void (*proc)(void*), void* argument) {
    record("thread");
    threadProc_ = proc;
    threadArgument_ = argument;
    return true;
}

bool SimModulePlatform::registerHotkey(int id, char key, uint32_t& error) {
    record(std::string("register ") + key);
    std::lock_guard<std::mutex> lock(mutex_);
    keys_[id] = key;
    if (key != refusedKey_) return true;
    refusedKey_ = 0;
    error = refusalError_;
    return false;
}

void SimModulePlatform::unregisterHotkey(int id) {
    char key;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        key = keys_[id];
    }
    record(std::string("unregister ") + key);
}

int SimModulePlatform::nextMessage(int& hotkeyId) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [this] { return quit_ || !messages_.empty(); });
    if (messages_.empty()) return 0;
    hotkeyId = messages_.front().hotkeyId;
    gameInFront_ = messages_.front().gameInFront;
    messages_.pop_front();
    return 1;
}

void SimModulePlatform::dispatchMessage() { record("dispatch"); }

bool SimModulePlatform::foregroundIsThisProcess() {
    std::lock_guard<std::mutex> lock(mutex_);
    return gameInFront_;
}

std::shared_ptr<const Platform> SimModulePlatform::services() {
    record("services");
    return services_;
}

}  // namespace tarvek::sim
