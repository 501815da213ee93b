#include "search/ui/AppIndexWorker.h"

#include <QMetaObject>

namespace tramble {

TAppIndexWorker::TAppIndexWorker(std::function<TIndexPlaces()> places, QObject* parent)
    : QObject(parent), m_places(std::move(places))
{
}

TAppIndexWorker::~TAppIndexWorker()
{
    m_thread.request_stop();
    if (m_thread.joinable())
        m_thread.join();
}

void TAppIndexWorker::Request()
{
    if (m_running) {
        m_pending = true;
        return;
    }
    Start();
}

void TAppIndexWorker::Start()
{
    m_running = true;
    // The places are read here, on the owner's thread; the build touches
    // nothing else of ours.
    TIndexPlaces places = m_places();
    if (m_thread.joinable())
        m_thread.join();
    m_thread = std::jthread([this, places = std::move(places)](std::stop_token stop) {
        auto index = std::make_shared<const TAppIndex>(BuildAppIndex(places, stop));
        if (stop.stop_requested())
            return;
        // Queued to the owner, which waits for this thread before it goes.
        QMetaObject::invokeMethod(
            this, [this, index] { Finished(index); }, Qt::QueuedConnection);
    });
}

void TAppIndexWorker::Finished(std::shared_ptr<const TAppIndex> index)
{
    m_running = false;
    emit built(std::move(index));
    if (m_pending) {
        m_pending = false;
        Start();
    }
}

} // namespace tramble
