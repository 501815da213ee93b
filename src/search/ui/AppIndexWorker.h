#pragma once

#include "search/AppIndex.h"

#include <QObject>

#include <functional>
#include <memory>
#include <thread>

namespace tramble {

// Builds the application index on a thread of its own, one build at a time;
// a request during a build is served by one more build after it. The result
// arrives on the owner's thread.
class TAppIndexWorker : public QObject {
    Q_OBJECT
public:
    explicit TAppIndexWorker(std::function<TIndexPlaces()> places, QObject* parent = nullptr);
    // Asks a running build to stop and waits for it.
    ~TAppIndexWorker() override;

    void Request();

signals:
    void built(std::shared_ptr<const TAppIndex> index);

private:
    void Start();
    void Finished(std::shared_ptr<const TAppIndex> index);

    std::function<TIndexPlaces()> m_places;
    bool m_running = false;
    bool m_pending = false;
    std::jthread m_thread;
};

} // namespace tramble
