#include "sync/catalog_sync_worker.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

namespace tarvek {

struct CatalogSyncWorker::Impl {
    struct SharedState {
        std::mutex mutex;
        std::shared_ptr<std::atomic<bool>> cancelFlag;  // of the running synchronisation
        bool running = false;
        bool deliverResults = true;
    };

    // Everything the thread owns; it outlives the worker when the worker goes first.
    struct Parcel {
        std::shared_ptr<SharedState> state;
        CatalogSyncRequest request;
        CompletionCallback onComplete;
        std::shared_ptr<std::atomic<bool>> cancelFlag;
        std::shared_ptr<const Platform> platform;
    };

    static void threadProcedure(Parcel parcel) {
        CatalogSyncResult result = synchronizeCatalog(parcel.request, *parcel.cancelFlag, *parcel.platform);
        bool deliver = false;
        {
            std::lock_guard lock(parcel.state->mutex);
            deliver = parcel.state->deliverResults;
        }
        if (deliver && parcel.onComplete) {
            try {
                parcel.onComplete(std::move(result));
            } catch (...) {
                // The owner's failure is its own; the worker stays usable.
            }
        }
        std::lock_guard lock(parcel.state->mutex);
        parcel.state->cancelFlag.reset();
        parcel.state->running = false;
    }

    static void joinOrDetach(std::thread& thread) {
        if (!thread.joinable()) return;
        if (thread.get_id() == std::this_thread::get_id()) thread.detach();
        else thread.join();
    }

    std::shared_ptr<SharedState> state = std::make_shared<SharedState>();
    std::thread thread;  // guarded by state->mutex
    std::shared_ptr<const Platform> platform;
};

CatalogSyncWorker::CatalogSyncWorker(std::shared_ptr<const Platform> platform) : impl_(std::make_unique<Impl>()) {
    impl_->platform = std::move(platform);
}

CatalogSyncWorker::~CatalogSyncWorker() {
    {
        std::lock_guard lock(impl_->state->mutex);
        impl_->state->deliverResults = false;
    }
    requestCancel();
    std::thread thread;
    {
        std::lock_guard lock(impl_->state->mutex);
        thread = std::move(impl_->thread);
    }
    Impl::joinOrDetach(thread);
}

bool CatalogSyncWorker::start(CatalogSyncRequest request, CompletionCallback onComplete) {
    auto& state = *impl_->state;
    std::thread previous;
    {
        std::lock_guard lock(state.mutex);
        if (state.running) return false;
        previous = std::move(impl_->thread);
    }
    Impl::joinOrDetach(previous);
    auto cancelFlag = std::make_shared<std::atomic<bool>>(false);

    std::lock_guard lock(state.mutex);
    // Another start won while this one joined the previous thread; it owns the thread object
    // now (its run may even have ended already) and must not be overwritten.
    if (state.running || impl_->thread.joinable()) return false;
    state.cancelFlag = cancelFlag;
    state.running = true;
    Impl::Parcel parcel{impl_->state, std::move(request), std::move(onComplete), cancelFlag, impl_->platform};
    try {
        impl_->thread = std::thread(&Impl::threadProcedure, std::move(parcel));
    } catch (const std::system_error& error) {
        state.running = false;
        state.cancelFlag.reset();
        throw std::system_error(error.code(), "thread constructor failed");
    }
    return true;
}

void CatalogSyncWorker::requestCancel() {
    std::lock_guard lock(impl_->state->mutex);
    if (impl_->state->cancelFlag) impl_->state->cancelFlag->store(true);
}

bool CatalogSyncWorker::isRunning() const {
    std::lock_guard lock(impl_->state->mutex);
    return impl_->state->running;
}

}  // namespace tarvek
