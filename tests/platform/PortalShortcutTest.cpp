// The global shortcut through the desktop's real portal front end on a bus
// of the test's own, with a back end that answers as a compositor would.
#include "platform/PortalShortcut.h"

#include "support/PrivateBus.h"
#include "support/ShortcutPortal.h"

#include <gtest/gtest.h>

#include <systemd/sd-bus.h>

#include <poll.h>

using namespace tramble;
using namespace tramble::platform;
using namespace tramble::test;
using namespace std::chrono_literals;

namespace {

const TPortalShortcutRequest kRequest{"focus-command-box", "Bring the bar forward", "CTRL+ALT+space"};

// Takes the portal's answers until the client leaves the Asking state or
// the time is up; returns the presses seen on the way.
int ProcessUntilSettled(TPortalShortcut& client, std::chrono::milliseconds limit = 10s)
{
    int presses = 0;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (client.State() == TPortalState::Asking && std::chrono::steady_clock::now() < end) {
        pollfd fd{client.Fd(), POLLIN, 0};
        const int timeout = client.TimeoutMs();
        ::poll(&fd, 1, timeout < 0 || timeout > 100 ? 100 : timeout);
        presses += client.Process();
    }
    return presses;
}

// Presses that arrive within the time.
int PressesWithin(TPortalShortcut& client, std::chrono::milliseconds limit)
{
    int presses = 0;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        pollfd fd{client.Fd(), POLLIN, 0};
        ::poll(&fd, 1, 50);
        presses += client.Process();
    }
    return presses;
}

class PortalShortcutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!ShortcutPortal::Available())
            GTEST_SKIP() << "xdg-desktop-portal is not installed";
        ASSERT_FALSE(m_bus.Address().empty()) << "no private bus";
    }

    std::unique_ptr<ShortcutPortal> StartPortal(ShortcutPortal::Options options = {})
    {
        auto portal = std::make_unique<ShortcutPortal>(m_bus.Address(), options);
        EXPECT_TRUE(portal->Ready()) << "the portal did not start";
        return portal;
    }

    PrivateBus m_bus;
};

TEST_F(PortalShortcutTest, BindsThePreferredKeysAndCountsPresses)
{
    auto portal = StartPortal();
    auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
    ASSERT_TRUE(client);
    EXPECT_EQ(ProcessUntilSettled(*client), 0);
    ASSERT_EQ(client->State(), TPortalState::Bound);

    const std::vector<ShortcutPortal::Bound> bound = portal->BoundShortcuts();
    ASSERT_EQ(bound.size(), 1u);
    EXPECT_EQ(bound[0].Id, kRequest.Id);
    EXPECT_EQ(bound[0].Description, kRequest.Description);
    EXPECT_EQ(bound[0].Trigger, kRequest.Trigger);
    EXPECT_EQ(portal->Sessions(), 1);

    ASSERT_TRUE(portal->Activate(kRequest.Id));
    ASSERT_TRUE(portal->Activate(kRequest.Id));
    EXPECT_EQ(PressesWithin(*client, 1s), 2);
    EXPECT_EQ(client->State(), TPortalState::Bound);
}

TEST_F(PortalShortcutTest, DeclinedBindingIsRefusedAndNeverPressed)
{
    for (const uint32_t response : {1u, 2u}) {
        SCOPED_TRACE(response);
        auto portal = StartPortal({.BindResponse = response});
        auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
        ASSERT_TRUE(client);
        ProcessUntilSettled(*client);
        EXPECT_EQ(client->State(), TPortalState::Refused);
        EXPECT_EQ(portal->BoundShortcuts().size(), 1u) << "the portal was never asked";
        portal->Activate(kRequest.Id);
        EXPECT_EQ(PressesWithin(*client, 300ms), 0);
    }
}

// No portal, or one whose desktop has no global shortcuts: the caller falls
// back to something else, quickly and without a hang.
TEST_F(PortalShortcutTest, MissingPortalIsNotOffered)
{
    {
        auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
        ASSERT_TRUE(client);
        ProcessUntilSettled(*client);
        EXPECT_EQ(client->State(), TPortalState::NotOffered) << "nobody serves the portal";
    }
    auto portal = StartPortal({.WithBackend = false});
    auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
    ASSERT_TRUE(client);
    ProcessUntilSettled(*client);
    EXPECT_EQ(client->State(), TPortalState::NotOffered) << "the portal has no shortcuts back end";

    EXPECT_FALSE(TPortalShortcut::Bind(kRequest, m_bus.DeadAddress())) << "no bus listens there";
}

// Any program on the session bus can send signals: an Activated that does
// not come from the portal must not call the bar.
TEST_F(PortalShortcutTest, PressesForgedByAnotherProgramAreIgnored)
{
    auto portal = StartPortal();
    auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
    ASSERT_TRUE(client);
    ProcessUntilSettled(*client);
    ASSERT_EQ(client->State(), TPortalState::Bound);
    const std::string session = portal->BoundShortcuts().at(0).Session;

    sd_bus* forger = nullptr;
    ASSERT_GE(sd_bus_new(&forger), 0);
    ASSERT_GE(sd_bus_set_address(forger, m_bus.Address().c_str()), 0);
    ASSERT_GE(sd_bus_set_bus_client(forger, 1), 0);
    ASSERT_GE(sd_bus_start(forger), 0);
    for (int i = 0; i < 3; ++i)
        ASSERT_GE(sd_bus_emit_signal(forger, "/org/freedesktop/portal/desktop",
                                     "org.freedesktop.portal.GlobalShortcuts", "Activated", "osta{sv}", session.c_str(),
                                     kRequest.Id.c_str(), uint64_t{1}, 0),
                  0);
    sd_bus_flush(forger);
    EXPECT_EQ(PressesWithin(*client, 500ms), 0);

    // The portal's own press still counts, and only it.
    ASSERT_TRUE(portal->Activate(kRequest.Id));
    EXPECT_EQ(PressesWithin(*client, 1s), 1);
    sd_bus_flush_close_unref(forger);
}

// Dropping the client ends its session, so the desktop forgets the binding
// of a program that went away.
TEST_F(PortalShortcutTest, DroppedClientEndsItsSession)
{
    auto portal = StartPortal();
    for (int i = 1; i <= 2; ++i) {
        auto client = TPortalShortcut::Bind(kRequest, m_bus.Address());
        ASSERT_TRUE(client);
        ProcessUntilSettled(*client);
        ASSERT_EQ(client->State(), TPortalState::Bound);
        client.reset();
        EXPECT_TRUE(portal->WaitForClosedSessions(i, 5s)) << "session " << i << " stayed open";
    }
    EXPECT_EQ(portal->Sessions(), 2);
}

} // namespace
