#pragma once

#include <cstdint>
#include <string>

namespace tramble::test {

// Builds Windows shell link files byte by byte after the published Shell
// Link binary format, so that tests need no file made by Windows.
class LnkBuilder {
public:
    enum : uint32_t {
        HasLinkInfo = 0x2,
        HasName = 0x4,
        HasRelativePath = 0x8,
        HasWorkingDir = 0x10,
        HasArguments = 0x20,
        HasIconLocation = 0x40,
        IsUnicode = 0x80,
        HasExpString = 0x200,
    };

    bool Unicode = true;
    std::string LocalBasePath; // ANSI; with NetName empty
    std::string NetName;       // "\\server\share", for a network target
    std::string PathSuffix;
    std::string Name, RelativePath, WorkingDir, Arguments, IconLocation;
    std::string EnvironmentTarget; // an EnvironmentVariableDataBlock
    int32_t IconIndex = 0;
    uint32_t ShowCommand = 1;
    uint16_t HotKey = 0;
    bool WithIdList = true;

    static void Put(std::string& out, uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    std::string Build() const
    {
        uint32_t flags = Unicode ? uint32_t{IsUnicode} : 0u;
        const bool linkInfo = !LocalBasePath.empty() || !NetName.empty();
        if (linkInfo)
            flags |= HasLinkInfo;
        if (WithIdList)
            flags |= 0x1;
        if (!Name.empty())
            flags |= HasName;
        if (!RelativePath.empty())
            flags |= HasRelativePath;
        if (!WorkingDir.empty())
            flags |= HasWorkingDir;
        if (!Arguments.empty())
            flags |= HasArguments;
        if (!IconLocation.empty())
            flags |= HasIconLocation;
        if (!EnvironmentTarget.empty())
            flags |= HasExpString;

        std::string out;
        Put(out, 0x4C, 4);
        out += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
        Put(out, flags, 4);
        Put(out, 0x20, 4);           // archive attribute
        out += std::string(24, 'T'); // three file times
        Put(out, 1234, 4);
        Put(out, static_cast<uint32_t>(IconIndex), 4);
        Put(out, ShowCommand, 4);
        Put(out, HotKey, 2);
        out += std::string(10, '\0');
        if (WithIdList) {
            // One opaque item and the terminating zero size.
            const std::string item("\x06\x00\x1F\x50\x01\x02", 6);
            Put(out, static_cast<uint32_t>(item.size() + 2), 2);
            out += item;
            Put(out, 0, 2);
        }
        if (linkInfo)
            out += LinkInfo();
        for (const std::string* text : {&Name, &RelativePath, &WorkingDir, &Arguments, &IconLocation}) {
            if (text->empty())
                continue;
            Put(out, static_cast<uint32_t>(text->size()), 2);
            for (char c : *text) {
                out += c;
                if (Unicode)
                    out += '\0';
            }
        }
        if (!EnvironmentTarget.empty()) {
            Put(out, 0x314, 4);
            Put(out, 0xA0000001, 4);
            std::string ansi = EnvironmentTarget;
            ansi.resize(260, '\0');
            std::string wide;
            for (char c : EnvironmentTarget)
                wide += std::string{c, '\0'};
            wide.resize(520, '\0');
            out += ansi + wide;
        }
        Put(out, 0, 4); // terminal block
        return out;
    }

private:
    std::string LinkInfo() const
    {
        std::string volume;
        Put(volume, 0x11, 4); // size
        Put(volume, 3, 4);    // fixed drive
        Put(volume, 0xABCD, 4);
        Put(volume, 0x10, 4); // label offset
        volume += '\0';

        const uint32_t header = 0x1C;
        std::string body;
        uint32_t volumeOffset = 0, baseOffset = 0, networkOffset = 0;
        if (!NetName.empty()) {
            networkOffset = header;
            std::string network;
            Put(network, static_cast<uint32_t>(0x14 + NetName.size() + 1), 4);
            Put(network, 0, 4);
            Put(network, 0x14, 4); // net name offset
            Put(network, 0, 4);    // device name offset
            Put(network, 0x20000, 4);
            network += NetName + '\0';
            body += network;
        } else {
            volumeOffset = header;
            body += volume;
            baseOffset = header + static_cast<uint32_t>(body.size());
            body += LocalBasePath + '\0';
        }
        const uint32_t suffixOffset = header + static_cast<uint32_t>(body.size());
        body += PathSuffix + '\0';

        std::string info;
        Put(info, header + static_cast<uint32_t>(body.size()), 4);
        Put(info, header, 4);
        Put(info, NetName.empty() ? 1 : 2, 4);
        Put(info, volumeOffset, 4);
        Put(info, baseOffset, 4);
        Put(info, networkOffset, 4);
        Put(info, suffixOffset, 4);
        return info + body;
    }
};

} // namespace tramble::test
