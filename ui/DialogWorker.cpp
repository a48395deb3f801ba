#include "DialogWorker.h"

void DialogWorker::start(std::function<void(const std::atomic<bool>& cancelled)> work)
{
    m_cancelled = false;
    m_thread = std::thread([this, work = std::move(work)] { work(m_cancelled); });
}

bool DialogWorker::cancel()
{
    if (!m_thread.joinable())
        return false;
    m_cancelled = true;
    m_thread.join();
    return true;
}

void DialogWorker::finished()
{
    if (m_thread.joinable())
        m_thread.join();
}
