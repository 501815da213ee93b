// The real program on a session bus with a StatusNotifierWatcher of the
// test's own, as KDE and GNOME with AppIndicator offer it: the seven monitor
// icons register there as items with 16×16 pictures and their tooltips.
#include "support/NoClockSync.h"
#include "support/PrivateBus.h"
#include "support/TempDir.h"
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <systemd/sd-bus.h>

#include <atomic>
#include <mutex>
#include <set>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::Process;
using test::XSession;

// The watcher and host side of a panel: takes the watcher's name, says a
// host is there, and keeps the services that registered an item. It answers
// on its own thread, since the program's toolkit asks it with blocking calls.
class Watcher {
public:
    explicit Watcher(const std::string& address)
    {
        if (sd_bus_new(&m_bus) < 0 || sd_bus_set_address(m_bus, address.c_str()) < 0 ||
            sd_bus_set_bus_client(m_bus, 1) < 0 || sd_bus_start(m_bus) < 0)
            return;
        if (sd_bus_add_object_vtable(m_bus, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", kVtable,
                                     this) < 0 ||
            sd_bus_request_name(m_bus, "org.kde.StatusNotifierWatcher", 0) < 0)
            return;
        m_ready = true;
        m_thread = std::thread([this] { Serve(); });
    }
    ~Watcher()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        sd_bus_flush_close_unref(m_bus);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    bool Ready() const { return m_ready; }

    // The bus names of the registered items, each once.
    std::set<std::string> Items() const
    {
        std::lock_guard lock(m_mutex);
        return m_items;
    }

    std::set<std::string> WaitForItems(size_t count, std::chrono::milliseconds limit) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (Items().size() < count && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(100ms);
        return Items();
    }

private:
    void Serve()
    {
        while (!m_stop) {
            const int r = sd_bus_process(m_bus, nullptr);
            if (r < 0)
                return;
            if (r == 0)
                sd_bus_wait(m_bus, 20000);
        }
    }

    static int RegisterItem(sd_bus_message* call, void* data, sd_bus_error*)
    {
        auto& self = *static_cast<Watcher*>(data);
        const char* service = nullptr;
        if (const int r = sd_bus_message_read(call, "s", &service); r < 0)
            return r;
        // An item may name only its object path; its bus name is the caller's.
        const std::string name = service[0] == '/' ? sd_bus_message_get_sender(call) : service;
        {
            std::lock_guard lock(self.m_mutex);
            self.m_items.insert(name);
        }
        sd_bus_emit_signal(self.m_bus, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                           "StatusNotifierItemRegistered", "s", name.c_str());
        return sd_bus_reply_method_return(call, "");
    }
    static int RegisterHost(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, ""); }
    static int ItemList(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data,
                        sd_bus_error*)
    {
        int r = sd_bus_message_open_container(reply, 'a', "s");
        for (const std::string& item : static_cast<Watcher*>(data)->Items()) {
            if (r >= 0)
                r = sd_bus_message_append(reply, "s", item.c_str());
        }
        return r < 0 ? r : sd_bus_message_close_container(reply);
    }
    static int HostThere(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "b", 1);
    }
    static int Version(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*)
    {
        return sd_bus_message_append(reply, "i", 0);
    }

    static constexpr sd_bus_vtable kVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", RegisterItem, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("RegisterStatusNotifierHost", "s", "", RegisterHost, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_PROPERTY("RegisteredStatusNotifierItems", "as", ItemList, 0, 0),
        SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", HostThere, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_PROPERTY("ProtocolVersion", "i", Version, 0, SD_BUS_VTABLE_PROPERTY_CONST),
        SD_BUS_SIGNAL("StatusNotifierItemRegistered", "s", 0),
        SD_BUS_SIGNAL("StatusNotifierHostRegistered", "", 0),
        SD_BUS_VTABLE_END,
    };

    sd_bus* m_bus = nullptr;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::set<std::string> m_items;
};

// One picture of an item: its size and ARGB bytes, alpha first.
struct ItemPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Argb;

    // "r,g,b" of an opaque pixel; "" for one that is not opaque.
    std::string Pixel(int x, int y) const
    {
        const uint8_t* p = &Argb[(y * Width + x) * 4];
        if (p[0] != 255)
            return "";
        return std::to_string(p[1]) + "," + std::to_string(p[2]) + "," + std::to_string(p[3]);
    }
};

// What the panel reads of an item, over a connection of its own.
class ItemReader {
public:
    explicit ItemReader(const std::string& address)
    {
        if (sd_bus_new(&m_bus) < 0 || sd_bus_set_address(m_bus, address.c_str()) < 0 ||
            sd_bus_set_bus_client(m_bus, 1) < 0 || sd_bus_start(m_bus) < 0) {
            sd_bus_unref(m_bus);
            m_bus = nullptr;
        }
    }
    ~ItemReader() { sd_bus_flush_close_unref(m_bus); }
    ItemReader(const ItemReader&) = delete;
    ItemReader& operator=(const ItemReader&) = delete;

    bool Ready() const { return m_bus != nullptr; }

    std::vector<ItemPicture> Pictures(const std::string& item)
    {
        std::vector<ItemPicture> pictures;
        sd_bus_message* reply = Get(item, "IconPixmap", "a(iiay)");
        if (!reply)
            return pictures;
        if (sd_bus_message_enter_container(reply, 'a', "(iiay)") > 0) {
            while (sd_bus_message_enter_container(reply, 'r', "iiay") > 0) {
                ItemPicture picture;
                const void* bytes = nullptr;
                size_t size = 0;
                if (sd_bus_message_read(reply, "ii", &picture.Width, &picture.Height) < 0 ||
                    sd_bus_message_read_array(reply, 'y', &bytes, &size) < 0)
                    break;
                const auto* first = static_cast<const uint8_t*>(bytes);
                picture.Argb.assign(first, first + size);
                pictures.push_back(std::move(picture));
                sd_bus_message_exit_container(reply);
            }
        }
        sd_bus_message_unref(reply);
        return pictures;
    }

    // The tooltip's title and text, joined by a line break when both are there.
    std::optional<std::string> ToolTip(const std::string& item)
    {
        sd_bus_message* reply = Get(item, "ToolTip", "(sa(iiay)ss)");
        if (!reply)
            return std::nullopt;
        const char* iconName = nullptr;
        const char* title = nullptr;
        const char* text = nullptr;
        std::optional<std::string> tip;
        if (sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss") > 0 &&
            sd_bus_message_read(reply, "s", &iconName) >= 0 && sd_bus_message_skip(reply, "a(iiay)") >= 0 &&
            sd_bus_message_read(reply, "ss", &title, &text) >= 0)
            tip = std::string(title) + (*title && *text ? "\n" : "") + text;
        sd_bus_message_unref(reply);
        return tip;
    }

private:
    sd_bus_message* Get(const std::string& item, const char* property, const char* type)
    {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const int r = sd_bus_get_property(m_bus, item.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                          property, &error, &reply, type);
        sd_bus_error_free(&error);
        return r < 0 ? nullptr : reply;
    }

    sd_bus* m_bus = nullptr;
};

// The 16×16 picture among an item's sizes, if it has one.
std::optional<ItemPicture> Small(const std::vector<ItemPicture>& pictures)
{
    for (const ItemPicture& picture : pictures) {
        if (picture.Width == 16 && picture.Height == 16 && picture.Argb.size() == 16 * 16 * 4)
            return picture;
    }
    return std::nullopt;
}

// The free-memory icon: white ground, digits in the upper rows, a black band
// at rows 11..15.
bool LooksLikeMemory(const ItemPicture& p)
{
    if (p.Pixel(0, 0) != "255,255,255" || p.Pixel(0, 11) != "0,0,0" || p.Pixel(15, 15) != "0,0,0")
        return false;
    int ink = 0;
    for (int y = 1; y < 10; ++y) {
        for (int x = 0; x < 16; ++x)
            ink += p.Pixel(x, y) == "0,0,0";
    }
    return ink >= 10;
}

class TrayStatusNotifier : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (auto tool = XSession::MissingTool())
            GTEST_SKIP() << *tool << " is not installed";
        if (m_bus.Address().empty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(m_x.Start(m_dir.path())) << "Xvfb did not start";
    }

    std::string Program()
    {
        fs::create_directories(m_dir.path() / "bar");
        const fs::path target = m_dir.path() / "bar" / "tramble";
        fs::copy_file(TRAMBLE_EXECUTABLE, target);
        test::WriteFileBytes((m_dir.path() / "bar" / "tramble.ini").string(),
                             test::WithoutClockSync("[cfg]\nshowWeather=1\n"));
        return target.string();
    }

    std::map<std::string, std::string> Env() const
    {
        auto env = m_x.Env();
        env["DBUS_SESSION_BUS_ADDRESS"] = m_bus.Address();
        return env;
    }

    test::TempDir m_dir;
    test::PrivateBus m_bus;
    XSession m_x;
};

TEST_F(TrayStatusNotifier, SevenItemsWithSixteenPixelPictures)
{
    Watcher watcher(m_bus.Address());
    ASSERT_TRUE(watcher.Ready()) << "the watcher could not take its name";
    ItemReader reader(m_bus.Address());
    ASSERT_TRUE(reader.Ready());

    Process bar({Program()}, Env());
    ASSERT_TRUE(m_x.WaitForWindow("--name '^Kuv 2.0$'")) << "the bar did not appear";
    std::set<std::string> items = watcher.WaitForItems(7, 15s);
    ASSERT_EQ(items.size(), 7u) << "seven monitor icons register with the watcher";

    // Icons show a first picture until the tray's next tick draws them;
    // wait for the free memory to show, then read every item.
    std::string memory;
    for (int i = 0; i < 50 && memory.empty(); ++i) {
        std::this_thread::sleep_for(200ms);
        for (const std::string& item : items) {
            const auto picture = Small(reader.Pictures(item));
            if (picture && LooksLikeMemory(*picture))
                memory = item;
        }
    }
    ASSERT_FALSE(memory.empty()) << "no item shows the free memory in digits";

    // Every item has a whole 16×16 picture; the tooltips of the monitors
    // every Linux machine can read show their lines, CR LF made line breaks.
    const std::regex memoryTip(R"(^[^\n]+: \d+M\n[^\n]+: \d+M$)");
    const std::regex cpuTip(R"(^[^\n]+: \d+%\n[^\n]+: \d+%\n[^\n]+: \d+%$)");
    const std::regex netTip(R"(^[^\n]+: [^\n]+ \d+\.\dk, [^\n]+ \d+\.\dk\n[^\n]+: [^\n]+ \d+\.\dM, [^\n]+ \d+\.\dM$)");
    int memoryLike = 0, memoryTips = 0, cpuTips = 0, netTips = 0;
    for (const std::string& item : items) {
        const auto picture = Small(reader.Pictures(item));
        ASSERT_TRUE(picture) << item << " has no 16x16 picture";
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                opaque += !picture->Pixel(x, y).empty();
        }
        EXPECT_EQ(opaque, 256) << item << " is not a whole picture";
        memoryLike += LooksLikeMemory(*picture);

        const std::optional<std::string> tip = reader.ToolTip(item);
        ASSERT_TRUE(tip) << item << " has no tooltip";
        EXPECT_EQ(tip->find('\r'), std::string::npos) << item << ": " << *tip;
        memoryTips += std::regex_search(*tip, memoryTip);
        cpuTips += std::regex_search(*tip, cpuTip);
        netTips += std::regex_search(*tip, netTip);
        if (item == memory) {
            EXPECT_TRUE(std::regex_search(*tip, memoryTip)) << "free and total memory: " << *tip;
        }
    }
    EXPECT_EQ(memoryLike, 1) << "one free-memory picture";
    EXPECT_EQ(memoryTips, 1) << "one free-memory tooltip";
    EXPECT_EQ(cpuTips, 1) << "one CPU usage tooltip";
    EXPECT_EQ(netTips, 1) << "one traffic tooltip";

    // No icon more, and none docked in the XEmbed tray on the same display.
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(watcher.Items().size(), 7u);
    const std::string tree = m_x.X("xwininfo -root -tree");
    const std::regex docked(R"("tramble": \("tramble" "tramble"\)\s+(\d+)x(\d+)\+)");
    for (auto it = std::sregex_iterator(tree.begin(), tree.end(), docked); it != std::sregex_iterator(); ++it) {
        const int width = std::stoi((*it)[1]), height = std::stoi((*it)[2]);
        EXPECT_FALSE(width >= 16 && width <= 24 && height >= 16 && height <= 24)
            << "an icon went to the XEmbed tray as well: " << (*it)[0];
    }

    bar.Signal(SIGTERM);
    EXPECT_EQ(bar.Wait(10s), 0);
}

} // namespace
} // namespace tramble
