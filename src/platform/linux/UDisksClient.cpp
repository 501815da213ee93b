#include "platform/DiskService.h"

#include "platform/linux/SdBusRefs.h"

#include <cmath>
#include <map>
#include <utility>

namespace tramble::platform {
namespace {

constexpr const char* kService = "org.freedesktop.UDisks2";
constexpr const char* kRoot = "/org/freedesktop/UDisks2";
constexpr const char* kBlock = "org.freedesktop.UDisks2.Block";
constexpr const char* kDrive = "org.freedesktop.UDisks2.Drive";
constexpr const char* kAta = "org.freedesktop.UDisks2.Drive.Ata";
constexpr const char* kNvme = "org.freedesktop.UDisks2.NVMe.Controller";

// One property value as far as this reader cares: text or a number.
struct Value {
    std::string text;
    double number = 0;
};

// Interface → property → value of one object.
using ObjectProperties = std::map<std::string, std::map<std::string, Value>>;

bool Wanted(const std::string& interface, const std::string& property)
{
    if (interface == kBlock)
        return property == "Device" || property == "Drive";
    if (interface == kDrive)
        return property == "Model";
    if (interface == kAta)
        return property == "SmartTemperature" || property == "SmartPowerOnSeconds" || property == "SmartUpdated";
    if (interface == kNvme)
        return property == "SmartTemperature" || property == "SmartPowerOnHours" || property == "SmartUpdated";
    return false;
}

// Reads a variant of a simple type; other types are skipped.
bool ReadVariant(sd_bus_message* m, Value& value)
{
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(m, &type, &contents) <= 0 || type != SD_BUS_TYPE_VARIANT || !contents)
        return false;
    const std::string signature = contents;
    if (signature != "s" && signature != "o" && signature != "d" && signature != "t" && signature != "q" &&
        signature != "ay")
        return sd_bus_message_skip(m, "v") >= 0;
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, contents) < 0)
        return false;
    int r = 0;
    if (signature == "s" || signature == "o") {
        const char* text = nullptr;
        r = sd_bus_message_read_basic(m, signature[0], &text);
        if (r > 0 && text)
            value.text = text;
    } else if (signature == "d") {
        r = sd_bus_message_read_basic(m, 'd', &value.number);
    } else if (signature == "t") {
        uint64_t number = 0;
        r = sd_bus_message_read_basic(m, 't', &number);
        value.number = static_cast<double>(number);
    } else if (signature == "q") {
        uint16_t number = 0;
        r = sd_bus_message_read_basic(m, 'q', &number);
        value.number = number;
    } else {
        const void* bytes = nullptr;
        size_t size = 0;
        r = sd_bus_message_read_array(m, 'y', &bytes, &size);
        if (r >= 0 && bytes)
            value.text.assign(static_cast<const char*>(bytes), size);
        // Byte strings carry their closing NUL.
        while (!value.text.empty() && value.text.back() == '\0')
            value.text.pop_back();
    }
    return r >= 0 && sd_bus_message_exit_container(m) >= 0;
}

bool ReadProperties(sd_bus_message* m, const std::string& interface, std::map<std::string, Value>& out)
{
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sv}") < 0)
        return false;
    int r = 0;
    while ((r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv")) > 0) {
        const char* name = nullptr;
        if (sd_bus_message_read_basic(m, 's', &name) <= 0 || !name)
            return false;
        if (Wanted(interface, name)) {
            if (!ReadVariant(m, out[name]))
                return false;
        } else if (sd_bus_message_skip(m, "v") < 0) {
            return false;
        }
        if (sd_bus_message_exit_container(m) < 0)
            return false;
    }
    return r >= 0 && sd_bus_message_exit_container(m) >= 0;
}

// The reply of ObjectManager.GetManagedObjects: a{oa{sa{sv}}}.
bool ReadManagedObjects(sd_bus_message* m, std::map<std::string, ObjectProperties>& objects)
{
    if (sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{oa{sa{sv}}}") < 0)
        return false;
    int r = 0;
    while ((r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "oa{sa{sv}}")) > 0) {
        const char* path = nullptr;
        if (sd_bus_message_read_basic(m, 'o', &path) <= 0 || !path ||
            sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sa{sv}}") < 0)
            return false;
        ObjectProperties& object = objects[path];
        int e = 0;
        while ((e = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sa{sv}")) > 0) {
            const char* interface = nullptr;
            if (sd_bus_message_read_basic(m, 's', &interface) <= 0 || !interface)
                return false;
            const bool known = interface == std::string(kBlock) || interface == std::string(kDrive) ||
                               interface == std::string(kAta) || interface == std::string(kNvme);
            if (known ? !ReadProperties(m, interface, object[interface]) : sd_bus_message_skip(m, "a{sv}") < 0)
                return false;
            if (sd_bus_message_exit_container(m) < 0)
                return false;
        }
        if (e < 0 || sd_bus_message_exit_container(m) < 0 || sd_bus_message_exit_container(m) < 0)
            return false;
    }
    return r >= 0 && sd_bus_message_exit_container(m) >= 0;
}

const Value* Find(const ObjectProperties& object, const char* interface, const char* property)
{
    const auto i = object.find(interface);
    if (i == object.end())
        return nullptr;
    const auto p = i->second.find(property);
    return p == i->second.end() ? nullptr : &p->second;
}

int KelvinToCelsius(double kelvin)
{
    return static_cast<int>(std::lround(kelvin - 273.15));
}

// The S.M.A.R.T. figures of a drive object, when the service has read them.
void ApplySmart(const ObjectProperties& drive, TDriveHealth& health)
{
    if (const Value* model = Find(drive, kDrive, "Model"))
        health.Model = model->text;
    for (const char* interface : {kAta, kNvme}) {
        const Value* updated = Find(drive, interface, "SmartUpdated");
        if (!updated || updated->number <= 0)
            continue;
        // A temperature of 0 K means the drive reports none.
        const Value* kelvin = Find(drive, interface, "SmartTemperature");
        if (kelvin && kelvin->number > 0)
            health.Temperature = KelvinToCelsius(kelvin->number);
        if (const Value* seconds = Find(drive, interface, "SmartPowerOnSeconds"))
            health.PowerOnSeconds = static_cast<int64_t>(seconds->number);
        if (const Value* hours = Find(drive, interface, "SmartPowerOnHours"))
            health.PowerOnSeconds = static_cast<int64_t>(hours->number) * 3600;
        return;
    }
}

} // namespace

struct TUDisksClient::Connection {
    sd_bus* bus = nullptr;
    ~Connection() { sd_bus_flush_close_unref(bus); }
};

TUDisksClient::TUDisksClient(std::string busAddress, std::chrono::milliseconds timeout)
    : m_address(std::move(busAddress)), m_timeout(timeout)
{
}

TUDisksClient::~TUDisksClient() = default;

std::optional<TDriveHealth> TUDisksClient::Read(const std::string& disk)
{
    if (!m_connection) {
        auto connection = std::make_unique<Connection>();
        int r = 0;
        if (m_address.empty()) {
            r = sd_bus_open_system(&connection->bus);
        } else {
            r = sd_bus_new(&connection->bus);
            if (r >= 0)
                r = sd_bus_set_address(connection->bus, m_address.c_str());
            if (r >= 0)
                r = sd_bus_set_bus_client(connection->bus, 1);
            if (r >= 0)
                r = sd_bus_start(connection->bus);
        }
        if (r < 0)
            return std::nullopt;
        m_connection = std::move(connection);
    }

    MessageRef reply;
    ErrorRef error;
    const uint64_t timeoutUs = static_cast<uint64_t>(m_timeout.count()) * 1000;
    MessageRef call;
    int r = sd_bus_message_new_method_call(m_connection->bus, &call.message, kService, kRoot,
                                           "org.freedesktop.DBus.ObjectManager", "GetManagedObjects");
    if (r >= 0)
        r = sd_bus_call(m_connection->bus, call.message, timeoutUs, &error.error, &reply.message);
    if (r < 0) {
        // A broken connection is made again next time; an error reply keeps it.
        if (!sd_bus_is_open(m_connection->bus))
            m_connection.reset();
        return std::nullopt;
    }

    std::map<std::string, ObjectProperties> objects;
    if (!ReadManagedObjects(reply.message, objects))
        return std::nullopt;
    const std::string device = "/dev/" + disk;
    for (const auto& [path, object] : objects) {
        const Value* node = Find(object, kBlock, "Device");
        const Value* drivePath = Find(object, kBlock, "Drive");
        if (!node || node->text != device || !drivePath)
            continue;
        const auto drive = objects.find(drivePath->text);
        if (drive == objects.end())
            return std::nullopt;
        TDriveHealth health;
        ApplySmart(drive->second, health);
        return health;
    }
    return std::nullopt;
}

TDriveHealthReader UDisksReader(std::string busAddress)
{
    auto client = std::make_shared<TUDisksClient>(std::move(busAddress));
    return [client](const std::string& disk) { return client->Read(disk); };
}

} // namespace tramble::platform
