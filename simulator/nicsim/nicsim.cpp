// nicsim.exe: changes and shows the simulated adapter behind nicport.dll.
//
//   nicsim reset | show | set Name=value... | unset Name... |
//          network add Name=value... | network clear | network fill N
//
// Exit codes: 0 done, 1 the registry refused a change, 2 usage error.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Profile.h"
#include "SimState.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: nicsim <command>\n"
    "  reset                      delete the state key: back to the built-in demo\n"
    "  show                       print the adapter state, the networks in range\n"
    "                             and the last committed profile\n"
    "  set Name=value ...         set state values (the others keep their defaults)\n"
    "  unset Name ...             remove state values (back to their defaults)\n"
    "  network add Name=value ... add a network in range (SSID, BSSID, Channel,\n"
    "                             Signal, Encryption, NetworkType, Jitter); the first\n"
    "                             add copies the built-in networks into the key\n"
    "  network clear              no networks in range\n"
    "  network fill N             append N generated networks to every scan (0 = none)\n";

int Usage(const char* problem = nullptr) {
    if (problem) fprintf(stderr, "nicsim: %s\n", problem);
    fputs(kUsage, stderr);
    return kExitUsage;
}

int Failed(const char* what) {
    fprintf(stderr, "nicsim: %s (HKCU\\%s)\n", what, sim::kStateKeyPath);
    return kExitFailed;
}

bool SplitPair(const std::string& arg, std::string& name, std::string& value) {
    size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    return true;
}

// ---------------------------------------------------------------------------
// set / unset

struct Assignment {
    const sim::ValueDef* def;
    DWORD type;
    std::vector<BYTE> data;
};

int CmdSet(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("set needs at least one Name=value");
    // Check everything first, so that a typo changes nothing.
    std::vector<Assignment> assignments;
    for (const std::string& arg : args) {
        std::string name, value, error;
        if (!SplitPair(arg, name, value)) return Usage(("not Name=value: " + arg).c_str());
        const sim::ValueDef* def = sim::FindValueDef(sim::StateValues(), name);
        if (!def) return Usage(("unknown state value: " + name).c_str());
        Assignment a{def, 0, {}};
        if (!sim::EncodeValueText(*def, value, a.type, a.data, error))
            return Usage((std::string(def->name) + ": " + error).c_str());
        assignments.push_back(std::move(a));
    }
    sim::RegKey state = sim::CreateStateKey();
    if (!state) return Failed("cannot create the state key");
    for (const Assignment& a : assignments)
        if (RegSetValueExA(state.get(), a.def->name, 0, a.type, a.data.data(),
                           static_cast<DWORD>(a.data.size())) != ERROR_SUCCESS)
            return Failed("cannot write a value");
    return kExitOk;
}

int CmdUnset(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("unset needs at least one value name");
    std::vector<const sim::ValueDef*> defs;
    for (const std::string& name : args) {
        const sim::ValueDef* def = sim::FindValueDef(sim::StateValues(), name);
        if (!def) return Usage(("unknown state value: " + name).c_str());
        defs.push_back(def);
    }
    sim::RegKey state = sim::OpenStateKey(KEY_READ | KEY_WRITE);
    if (!state) return kExitOk;  // nothing set, nothing to remove
    for (const sim::ValueDef* def : defs) {
        LONG r = RegDeleteValueA(state.get(), def->name);
        if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) return Failed("cannot remove a value");
    }
    return kExitOk;
}

// ---------------------------------------------------------------------------
// network

uint64_t NextNetworkNumber(HKEY networks) {
    uint64_t next = 0;
    for (const std::string& name : sim::NetworkSubkeyNames(networks)) {
        uint64_t n;
        if (name.size() <= 9 && sim::ParseUnsigned64(name, n) && n + 1 > next) next = n + 1;
    }
    return next;
}

int CmdNetworkAdd(const std::vector<std::string>& args) {
    sim::Network net;
    net.channel = 6;
    net.signal = 50;
    net.networkType = 1;
    bool ssidGiven = false, bssidGiven = false;
    for (const std::string& arg : args) {
        std::string name, value, error;
        if (!SplitPair(arg, name, value)) return Usage(("not Name=value: " + arg).c_str());
        const sim::ValueDef* def = sim::FindValueDef(sim::NetworkValues(), name);
        if (!def) return Usage(("unknown network value: " + name).c_str());
        DWORD type;
        std::vector<BYTE> data;
        if (!sim::EncodeValueText(*def, value, type, data, error))
            return Usage((std::string(def->name) + ": " + error).c_str());
        if (def->kind == sim::Kind::Text) {
            net.ssid = value;
            ssidGiven = true;
        } else if (def->kind == sim::Kind::Bssid) {
            sim::ParseBssid(value, net.bssid);
            bssidGiven = true;
        } else {
            int64_t v;
            sim::ParseInteger(value, v);  // checked by EncodeValueText
            int32_t n = static_cast<int32_t>(static_cast<uint32_t>(v));
            if (def->name == std::string(sim::netval::Channel)) net.channel = n;
            else if (def->name == std::string(sim::netval::Encryption)) net.encryption = n;
            else if (def->name == std::string(sim::netval::Signal)) net.signal = n;
            else if (def->name == std::string(sim::netval::NetworkType)) net.networkType = n;
            else if (def->name == std::string(sim::netval::Jitter))
                net.jitter = std::min<uint32_t>(static_cast<uint32_t>(v), sim::kMaxJitter);
        }
    }

    sim::RegKey state = sim::CreateStateKey();
    if (!state) return Failed("cannot create the state key");
    bool fresh = !sim::HasNetworksKey(state.get());
    sim::RegKey networks = sim::CreateKey(state.get(), sim::kNetworksSubkey);
    if (!networks) return Failed("cannot create the Networks key");
    uint64_t number = 0;
    if (fresh) {
        // Adding to the demo keeps the demo's networks in range.
        for (const sim::Network& n : sim::DefaultNetworks()) {
            sim::RegKey sub = sim::CreateKey(networks.get(), std::to_string(number++).c_str());
            if (!sub) return Failed("cannot create a network key");
            sim::WriteNetwork(sub.get(), n);
        }
    } else {
        number = NextNetworkNumber(networks.get());
    }
    if (!ssidGiven) net.ssid = "Network " + std::to_string(number);
    if (!bssidGiven) {
        const unsigned char b[6] = {0x02, 0x00, 0x00, static_cast<unsigned char>(number >> 16),
                                    static_cast<unsigned char>(number >> 8),
                                    static_cast<unsigned char>(number)};
        memcpy(net.bssid, b, 6);
    }
    sim::RegKey sub = sim::CreateKey(networks.get(), std::to_string(number).c_str());
    if (!sub) return Failed("cannot create a network key");
    sim::WriteNetwork(sub.get(), net);
    printf("network %u added: %s\n", static_cast<unsigned>(number), net.ssid.c_str());
    return kExitOk;
}

int CmdNetworkClear(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("network clear takes no arguments");
    sim::RegKey state = sim::CreateStateKey();
    if (!state) return Failed("cannot create the state key");
    if (!sim::DeleteKeyTree(state.get(), sim::kNetworksSubkey)) return Failed("cannot delete the networks");
    // An empty Networks key means "nothing in range"; no key would mean the demo.
    if (!sim::CreateKey(state.get(), sim::kNetworksSubkey)) return Failed("cannot create the Networks key");
    LONG r = RegDeleteValueA(state.get(), sim::val::ExtraNetworks);
    if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) return Failed("cannot remove ExtraNetworks");
    return kExitOk;
}

int CmdNetworkFill(const std::vector<std::string>& args) {
    uint64_t n;
    if (args.size() != 1 || !sim::ParseUnsigned64(args[0], n)) return Usage("network fill needs a count");
    if (n > sim::kMaxExtraNetworks)
        return Usage(("at most " + std::to_string(sim::kMaxExtraNetworks) + " generated networks").c_str());
    sim::RegKey state = sim::CreateStateKey();
    if (!state) return Failed("cannot create the state key");
    if (!sim::WriteDword(state.get(), sim::val::ExtraNetworks, static_cast<uint32_t>(n)))
        return Failed("cannot write ExtraNetworks");
    return kExitOk;
}

// ---------------------------------------------------------------------------
// show

bool ValueExists(HKEY state, const char* name) {
    DWORD size = 0;
    return state && RegQueryValueExA(state, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

// Whether a stored value is used as it is (true) or read as its default.
bool ValueUsable(HKEY state, const sim::ValueDef& def) {
    std::string text;
    std::vector<int> channels;
    unsigned char bssid[6];
    switch (def.kind) {
    case sim::Kind::Flag:
    case sim::Kind::Number: return sim::ReadU32(state, def.name).has_value();
    case sim::Kind::Counter: return sim::ReadU64(state, def.name).has_value();
    case sim::Kind::Text: return sim::ReadText(state, def.name, text, def.maxLen);
    case sim::Kind::Bssid:
        return sim::ReadText(state, def.name, text, def.maxLen) && sim::ParseBssid(text, bssid);
    case sim::Kind::Channels:
        return sim::ReadText(state, def.name, text, def.maxLen) && sim::ParseChannels(text, channels);
    }
    return false;
}

std::string ChannelText(const std::vector<int>& channels) {
    std::string text;
    for (int c : channels) text += (text.empty() ? "" : ",") + std::to_string(c);
    return text;
}

// What nicport reports for the value now.
std::string Effective(HKEY s, const sim::ValueDef& def, DWORD now) {
    using namespace sim::val;
    const std::string name = def.name;
    auto num = [](uint64_t v) { return std::to_string(v); };
    if (name == Present) return num(sim::IsPresent(s));
    if (name == AdapterName) return sim::AdapterName(s);
    if (name == Radio) return num(sim::IsRadioOn(s));
    if (name == Associated) return num(sim::IsAssociated(s));
    if (name == SSID) return sim::CurrentSsid(s);
    if (name == BSSID) {
        unsigned char b[6];
        sim::CurrentBssid(s, b);
        return sim::FormatBssid(b);
    }
    if (name == Channel) return std::to_string(sim::CurrentChannel(s));
    if (name == NetworkMode) return num(sim::NetworkMode(s));
    if (name == Encryption) return num(sim::EncryptionOn(s));
    if (name == WirelessType) return num(sim::WirelessType(s));
    if (name == TxRate) return num(sim::TxRateMbps(s));
    if (name == RxRate) return num(sim::RxRateMbps(s));
    if (name == LinkSpeed) return num(sim::LinkSpeed(s));
    if (name == Signal) return num(sim::SignalPercent(s, now));
    if (name == LinkQuality) return num(sim::LinkQualityPercent(s, now));
    if (name == Country) return sim::Country(s);
    if (name == DriverVersion) return sim::DriverVersion(s);
    if (name == NetMask) {
        char hex[16];
        snprintf(hex, sizeof(hex), "0x%02X", static_cast<unsigned>(sim::NetMask(s)));
        return hex;
    }
    if (name == Channels) return ChannelText(sim::ChannelList(s));
    if (name == TxOK || name == RxOK) {
        if (auto v = sim::ReadU64(s, def.name)) return num(*v);
        return "(grows while associated)";
    }
    if (name == TxFragment || name == RxFragment) {
        if (auto v = sim::ReadU32(s, def.name)) return num(*v);
        return "(follows the frame counter)";
    }
    if (name == TxPacketSize) return num(sim::TxPacketSize(s));
    if (name == RxPacketSize) return num(sim::RxPacketSize(s));
    if (name == ScanDelayMs) return num(sim::ScanDelayMs(s));
    if (name == SurveyFails) return num(sim::SurveyFails(s));
    if (name == ExtraNetworks) return num(sim::ExtraNetworkCount(s));
    return "?";
}

// A fixed-size text field of the record, never read past its end.
std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }
#define FIELD(f) Field(f, sizeof(f))

void ShowProfile(HKEY state) {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!sim::ReadRaw(state, sim::val::LastCommit, type, data, 64 * 1024)) {
        printf("Last committed profile: none\n");
        return;
    }
    if (type != REG_BINARY || data.size() != sizeof(Profile)) {
        printf("Last committed profile: unreadable (type %lu, %u bytes, expected %u)\n",
               static_cast<unsigned long>(type), static_cast<unsigned>(data.size()),
               static_cast<unsigned>(sizeof(Profile)));
        return;
    }
    Profile p;
    memcpy(&p, data.data(), sizeof(p));
    auto authName = [](int32_t a) {
        return a == AUTH_NONE ? "none" : a == AUTH_WEP ? "WEP" : a == AUTH_WPA_PSK ? "WPA-PSK" : "unknown";
    };
    std::string rate = "automatic";
    if (p.txRate != 0)
        rate = std::to_string(p.txRate / 2) + (p.txRate % 2 ? ".5" : "") + " Mbps";
    printf("Last committed profile (%u bytes):\n", static_cast<unsigned>(sizeof(Profile)));
    printf("  name                 %s\n", FIELD(p.name).c_str());
    printf("  ssid                 %s\n", FIELD(p.ssid).c_str());
    printf("  operatingMode        %d (%s)\n", p.operatingMode,
           p.operatingMode == 1 ? "infrastructure" : p.operatingMode == 0 ? "ad hoc" : "unknown");
    printf("  txRate               %d (%s)\n", p.txRate, rate.c_str());
    printf("  channel              %d%s\n", p.channel, p.channel == 0 ? " (automatic)" : "");
    printf("  powerSave            %d\n", p.powerSave);
    std::string types;
    const char* const typeNames[] = {"802.11a", "802.11a Turbo", "802.11b", "802.11g", "802.11g Turbo"};
    for (int i = 0; i < 5; ++i) {
        if (p.netType & (1 << i)) types += std::string(types.empty() ? "" : ", ") + typeNames[i];
    }
    printf("  netType              0x%02X (%s)\n", static_cast<unsigned>(p.netType), types.empty() ? "not set" : types.c_str());
    printf("  authType             %d (%s)\n", p.authType, authName(p.authType));
    printf("  wepLevel             %d\n", p.wepLevel);
    printf("  wepDefaultKey        %d\n", p.wepDefaultKey);
    printf("  wepAuth              %d (%s)\n", p.wepAuth, p.wepAuth == 1 ? "shared" : "open");
    printf("  wepKeyType           %d\n", p.wepKeyType);
    printf("  wepPassphrase        %s\n", FIELD(p.wepPassphrase).c_str());
    for (int i = 0; i < 4; ++i)
        printf("  wepKey%d              %s (length %d)\n", i + 1, FIELD(p.wepKey[i]).c_str(), p.wepKeyLength[i]);
    printf("  wepKeyPerUser        %s\n", FIELD(p.wepKeyPerUser).c_str());
    printf("  wpaPskPassword       %s\n", FIELD(p.wpaPskPassword).c_str());
    printf("  advQos               %d\n", p.advQos);
    printf("  advTxPower           %d\n", p.advTxPower);
    printf("  advPreamble          %d\n", p.advPreamble);
    printf("  advRtsThreshold      %d\n", p.advRtsThreshold);
    printf("  advFragmentThreshold %d\n", p.advFragmentThreshold);
    printf("  advScanType          %d\n", p.advScanType);
}

void ShowNetworks(HKEY state) {
    std::vector<sim::Network> networks = sim::NetworksInRange(state);
    uint32_t extra = sim::ExtraNetworkCount(state);
    printf("Networks in range: %u (%s%s)\n", static_cast<unsigned>(networks.size()),
           sim::HasNetworksKey(state) ? "Networks key" : "built-in list",
           extra ? (", " + std::to_string(extra) + " generated").c_str() : "");
    printf("  %4s  %-33s  %-17s  %7s  %10s  %6s  %11s  %6s\n", "#", "SSID", "BSSID", "Channel",
           "Encryption", "Signal", "NetworkType", "Jitter");
    const size_t shown = 40;
    for (size_t i = 0; i < networks.size() && i < shown; ++i) {
        const sim::Network& n = networks[i];
        // A name too long for the column shows its start and its length.
        std::string ssid = n.ssid;
        if (ssid.size() > 33) ssid = ssid.substr(0, 24) + "...(" + std::to_string(n.ssid.size()) + ")";
        printf("  %4u  %-33s  %-17s  %7d  %10d  %6d  %11d  %6u\n", static_cast<unsigned>(i), ssid.c_str(),
               sim::FormatBssid(n.bssid).c_str(), n.channel, n.encryption, n.signal, n.networkType,
               static_cast<unsigned>(n.jitter));
    }
    if (networks.size() > shown)
        printf("  ... and %u more\n", static_cast<unsigned>(networks.size() - shown));
}

int CmdShow(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("show takes no arguments");
    sim::RegKey state = sim::OpenStateKey();
    HKEY s = state.get();
    DWORD now = GetTickCount();
    printf("State key HKCU\\%s: %s\n", sim::kStateKeyPath,
           s ? "present (values not set read as defaults)" : "absent (built-in demo)");
    for (const sim::ValueDef& def : sim::StateValues()) {
        const char* source = "default";
        if (ValueExists(s, def.name)) source = ValueUsable(s, def) ? "set" : "default, stored value malformed";
        printf("  %-14s %-28s %s\n", def.name, Effective(s, def, now).c_str(), source);
    }
    ShowNetworks(s);
    ShowProfile(s);
    return kExitOk;
}

int CmdReset(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("reset takes no arguments");
    return sim::DeleteStateKey() ? kExitOk : Failed("cannot delete the state key");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "help" || command == "-h" || command == "--help" || command == "/?") {
        fputs(kUsage, stdout);
        return kExitOk;
    }
    if (command == "reset") return CmdReset(args);
    if (command == "show") return CmdShow(args);
    if (command == "set") return CmdSet(args);
    if (command == "unset") return CmdUnset(args);
    if (command == "network") {
        if (args.empty()) return Usage("network needs add, clear or fill");
        std::string sub = args[0];
        args.erase(args.begin());
        if (sub == "add") return CmdNetworkAdd(args);
        if (sub == "clear") return CmdNetworkClear(args);
        if (sub == "fill") return CmdNetworkFill(args);
        return Usage(("unknown network command: " + sub).c_str());
    }
    return Usage(("unknown command: " + command).c_str());
}
