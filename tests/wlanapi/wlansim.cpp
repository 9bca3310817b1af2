// wlansim.exe: changes and shows the state of the stand-in wlanapi.dll
// (HKCU\Software\WlanSim). Every argument after the command is Name=value;
// If=<interface number or {GUID}> picks the interface (default 0).
//
// Exit codes: 0 done, 1 the registry refused a change (or the state forbids
// it), 2 bad input. A failure prints one line to standard error.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "StandinState.h"

using namespace standin;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: wlansim <command> [Name=value ...]   (If=N or If={GUID} picks the interface; default 0)\n"
    "  reset                          clear the state: one interface, radio on, nothing in range\n"
    "  show                           print the whole state, one fact per line\n"
    "  lastprofile                    print the last profile XML given to WlanSetProfile, as it came\n"
    "  which                          print the wlanapi.dll a program in this folder loads\n"
    "  set NotifyDelayMs=N ApiVersion=1|2\n"
    "  interface add [Guid= Description= Phys=]      prints the new interface's number\n"
    "  interface remove [If=]         the interface disappears (removal notification)\n"
    "  interface restore [If=]        it comes back (arrival notification)\n"
    "  interface set [If=] Guid= Description= Phys= Countries= InfraPairs= AdhocPairs=\n"
    "                      BssTypeFilter= ScanResult= ConnectResult=\n"
    "  bss add [If=] Ssid=|SsidHex= Bssid= Channel= Rssi= LinkQuality= Privacy= Type= Phy=\n"
    "                Security= Country= Triplets= Key=       prints the new entry's number\n"
    "  bss clear [If=]                nothing in range\n"
    "  radio [If=] [Phy=i] Software=on|off Hardware=on|off   (no Phy: every PHY)\n"
    "  stats [If=] TxFrames= RxFrames= McastTxFrames= McastRxFrames= TxFragments= RxFragments=\n"
    "  connect [If=] Ssid=|SsidHex= [Bssid= Profile= Channel= Rssi= Signal= TxRate= RxRate= Type=\n"
    "                Phy= Auth= Cipher=]\n"
    "  disconnect [If=]\n"
    "  error set Function[.opcode]=code ...   e.g. WlanScan=access_denied\n"
    "  error clear [Function[.opcode] ...]\n";

int Usage(const std::string& problem) {
    fprintf(stderr, "wlansim: %s (wlansim help for usage)\n", problem.c_str());
    return kExitUsage;
}

int Failed(const std::string& what) {
    fprintf(stderr, "wlansim: %s (HKCU\\%s)\n", what.c_str(), kKeyPath);
    return kExitFailed;
}

bool Problem(std::string& problem, const std::string& text) {
    problem = text;
    return false;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// Name=value arguments, names case-insensitive, checked against the names a
// command takes.
class Args {
public:
    bool Parse(const std::vector<std::string>& args, std::vector<const char*> allowed, std::string& problem) {
        for (const std::string& a : args) {
            size_t eq = a.find('=');
            if (eq == std::string::npos || eq == 0) return Problem(problem, "not Name=value: " + a);
            std::string name = a.substr(0, eq);
            bool known = false;
            for (const char* n : allowed) known = known || Lower(name) == Lower(n);
            if (!known) return Problem(problem, "unknown name for this command: " + name);
            m_values[Lower(name)] = a.substr(eq + 1);
        }
        return true;
    }
    bool Has(const char* name) const { return m_values.count(Lower(name)) != 0; }
    std::string Get(const char* name, const std::string& fallback = std::string()) const {
        auto it = m_values.find(Lower(name));
        return it == m_values.end() ? fallback : it->second;
    }

private:
    std::map<std::string, std::string> m_values;
};

bool Number(const std::string& text, int64_t lo, int64_t hi, int64_t& out) {
    return sim::ParseInteger(text, out) && out >= lo && out <= hi;
}

// A Win32 or reason code: a number, or one of the names below.
bool ErrorCode(const std::string& text, DWORD& code) {
    static const std::pair<const char*, DWORD> kNames[] = {
        {"success", 0},
        {"access_denied", ERROR_ACCESS_DENIED},
        {"invalid_handle", ERROR_INVALID_HANDLE},
        {"not_enough_memory", ERROR_NOT_ENOUGH_MEMORY},
        {"not_supported", ERROR_NOT_SUPPORTED},
        {"invalid_parameter", ERROR_INVALID_PARAMETER},
        {"call_not_implemented", ERROR_CALL_NOT_IMPLEMENTED},
        {"not_found", ERROR_NOT_FOUND},
        {"invalid_state", ERROR_INVALID_STATE},
        {"service_not_active", ERROR_SERVICE_NOT_ACTIVE},
        {"bad_profile", ERROR_BAD_PROFILE},
        {"no_match", ERROR_NO_MATCH},
        {"power_state_invalid", kPowerStateInvalid},
    };
    for (const auto& n : kNames)
        if (Lower(text) == n.first) {
            code = n.second;
            return true;
        }
    int64_t v;
    if (!sim::ParseInteger(text, v) || v < INT32_MIN || v > 0xFFFFFFFFll) return false;
    code = static_cast<DWORD>(v);
    return true;
}

bool ParseSsid(const Args& args, std::string& ssid, std::string& problem) {
    if (args.Has("SsidHex")) {
        std::string hex = args.Get("SsidHex");
        if (hex.size() % 2 || hex.size() > 64) return Problem(problem, "SsidHex: 0 to 32 bytes in hex");
        ssid.clear();
        for (size_t i = 0; i < hex.size(); i += 2) {
            uint64_t b;
            if (!sim::ParseUnsigned64("0x" + hex.substr(i, 2), b)) return Problem(problem, "SsidHex: not hex");
            ssid += static_cast<char>(b);
        }
        return true;
    }
    ssid = args.Get("Ssid");
    if (ssid.size() > DOT11_SSID_MAX_LENGTH) return Problem(problem, "Ssid: at most 32 bytes");
    return true;
}

// ---------------------------------------------------------------------------
// The state, opened for a change

struct Target {
    RegKey root;
    std::vector<Interface> interfaces;
    Interface* ifc = nullptr;
    RegKey key;  // the interface's subkey
};

// Opens the state and the interface that If= names (creating the key with
// the default interface where needed).
int OpenTarget(const Args& args, bool withBss, Target& t) {
    t.root = CreateRoot();
    if (!t.root) return Failed("cannot create the state key");
    t.interfaces = ReadInterfaces(t.root.get(), withBss);
    std::string which = args.Get("If", "0");
    GUID guid;
    const bool byGuid = ParseGuid(which, guid);
    for (Interface& i : t.interfaces)
        if (byGuid ? IsEqualGUID(i.guid, guid) : i.subkey == which) t.ifc = &i;
    if (!t.ifc) return Usage("no interface " + which);
    t.key = CreateInterfaceKey(t.root.get(), t.ifc->subkey);
    return t.key ? kExitOk : Failed("cannot create the interface's key");
}

int Done(bool written) { return written ? kExitOk : Failed("cannot write the state"); }

uint64_t NextNumber(HKEY list) {
    uint64_t next = 0;
    for (const std::string& name : sim::NetworkSubkeyNames(list)) {
        uint64_t n;
        if (name.size() <= 9 && sim::ParseUnsigned64(name, n) && n + 1 > next) next = n + 1;
    }
    return next;
}

// Applies the interface settings that `interface add` and `interface set`
// share.
bool ApplyInterfaceArgs(const Args& args, Interface& ifc, std::string& problem) {
    if (args.Has("Guid") && !ParseGuid(args.Get("Guid"), ifc.guid)) return Problem(problem, "Guid: not {GUID}");
    if (args.Has("Description")) {
        ifc.description = args.Get("Description");
        if (ifc.description.size() > kMaxDescription) return Problem(problem, "Description: at most 255 characters");
    }
    if (args.Has("Phys")) {
        if (!ParsePhyList(args.Get("Phys"), ifc.phys)) return Problem(problem, "Phys: 1 to 64 PHY types, a,b,g...");
        ifc.softwareRadio.resize(ifc.phys.size(), dot11_radio_state_on);
        ifc.hardwareRadio.resize(ifc.phys.size(), dot11_radio_state_on);
    }
    if (args.Has("Countries") && !ParseCountries(args.Get("Countries"), ifc.countries))
        return Problem(problem, "Countries: two or three letters each");
    if (args.Has("InfraPairs") && !ParsePairs(args.Get("InfraPairs"), ifc.infraPairs))
        return Problem(problem, "InfraPairs: auth/cipher,...");
    if (args.Has("AdhocPairs") && !ParsePairs(args.Get("AdhocPairs"), ifc.adhocPairs))
        return Problem(problem, "AdhocPairs: auth/cipher,...");
    if (args.Has("BssTypeFilter") && !ParseBssType(args.Get("BssTypeFilter"), ifc.bssTypeFilter))
        return Problem(problem, "BssTypeFilter: infrastructure, independent or any");
    if (args.Has("ScanResult")) {
        std::string r = Lower(args.Get("ScanResult"));
        if (r == "complete") ifc.scanResult = 0;
        else if (r == "silent") ifc.scanResult = kScanSilent;
        else if (r == "fail") ifc.scanResult = reason::Unknown;
        else if (!ErrorCode(r, ifc.scanResult)) return Problem(problem, "ScanResult: complete, silent, fail or a reason code");
    }
    if (args.Has("ConnectResult") && !ErrorCode(args.Get("ConnectResult"), ifc.connectResult))
        return Problem(problem, "ConnectResult: 0 or a reason code");
    return true;
}

// ---------------------------------------------------------------------------
// Commands

int CmdReset(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("reset takes no arguments");
    return ClearRoot() ? kExitOk : Failed("cannot clear the state key");
}

int CmdSet(const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (rest.empty()) return Usage("set needs NotifyDelayMs= or ApiVersion=");
    if (!args.Parse(rest, {"NotifyDelayMs", "ApiVersion"}, problem)) return Usage(problem);
    int64_t delay = 0, version = 2;
    if (args.Has("NotifyDelayMs") && !Number(args.Get("NotifyDelayMs"), 0, kMaxNotifyDelayMs, delay))
        return Usage("NotifyDelayMs: 0 to 60000");
    if (args.Has("ApiVersion") && !Number(args.Get("ApiVersion"), 1, 2, version)) return Usage("ApiVersion: 1 or 2");
    RegKey root = CreateRoot();
    bool ok = static_cast<bool>(root);
    if (args.Has("NotifyDelayMs")) ok = ok && sim::WriteDword(root.get(), "NotifyDelayMs", static_cast<DWORD>(delay));
    if (args.Has("ApiVersion")) ok = ok && sim::WriteDword(root.get(), "ApiVersion", static_cast<DWORD>(version));
    return Done(ok);
}

int CmdInterface(const std::string& sub, const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (sub == "add") {
        if (!args.Parse(rest, {"Guid", "Description", "Phys"}, problem)) return Usage(problem);
        RegKey root = CreateRoot();
        if (!root) return Failed("cannot create the state key");
        RegKey first = CreateInterfaceKey(root.get(), "0");  // keeps the default interface
        RegKey list = sim::OpenKey(root.get(), kInterfacesSubkey);
        std::string name = std::to_string(std::max<uint64_t>(1, NextNumber(list.get())));
        Interface ifc = DefaultInterface(name);
        if (!ApplyInterfaceArgs(args, ifc, problem)) return Usage(problem);
        RegKey key = CreateInterfaceKey(root.get(), name);
        if (!key || !WriteInterfaceConfig(key.get(), ifc)) return Failed("cannot write the interface");
        printf("interface %s added %s\n", name.c_str(), FormatGuid(ifc.guid).c_str());
        return kExitOk;
    }
    if (sub == "remove" || sub == "restore") {
        if (!args.Parse(rest, {"If"}, problem)) return Usage(problem);
        Target t;
        if (int r = OpenTarget(args, false, t)) return r;
        const bool present = sub == "restore";
        // A card that is pulled loses its association.
        return Done(sim::WriteDword(t.key.get(), "Present", present ? 1 : 0) &&
                    (present || WriteConnection(t.key.get(), Connection())));
    }
    if (sub == "set") {
        if (!args.Parse(rest, {"If", "Guid", "Description", "Phys", "Countries", "InfraPairs", "AdhocPairs",
                               "BssTypeFilter", "ScanResult", "ConnectResult"},
                        problem))
            return Usage(problem);
        if (rest.size() == (args.Has("If") ? 1u : 0u)) return Usage("interface set needs a value to set");
        Target t;
        if (int r = OpenTarget(args, false, t)) return r;
        if (!ApplyInterfaceArgs(args, *t.ifc, problem)) return Usage(problem);
        return Done(WriteInterfaceConfig(t.key.get(), *t.ifc));
    }
    return Usage("interface needs add, remove, restore or set");
}

int CmdBss(const std::string& sub, const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (sub == "clear") {
        if (!args.Parse(rest, {"If"}, problem)) return Usage(problem);
        Target t;
        if (int r = OpenTarget(args, false, t)) return r;
        return Done(sim::DeleteKeyTree(t.key.get(), kBssSubkey));
    }
    if (sub != "add") return Usage("bss needs add or clear");
    if (!args.Parse(rest, {"If", "Ssid", "SsidHex", "Bssid", "Channel", "Rssi", "LinkQuality", "Privacy", "Type",
                           "Phy", "Security", "Country", "Triplets", "Key"},
                    problem))
        return Usage(problem);
    Bss b;
    int64_t v;
    if (!ParseSsid(args, b.ssid, problem)) return Usage(problem);
    if (args.Has("Bssid") && !sim::ParseBssid(args.Get("Bssid"), b.bssid)) return Usage("Bssid: 00:11:22:33:44:55");
    if (args.Has("Channel")) {
        if (!Number(args.Get("Channel"), 1, 196, v)) return Usage("Channel: 1 to 196");
        b.channel = static_cast<DWORD>(v);
    }
    if (args.Has("Rssi")) {
        if (!Number(args.Get("Rssi"), -128, 0, v)) return Usage("Rssi: -128 to 0 (dBm)");
        b.rssi = static_cast<LONG>(v);
    }
    if (args.Has("LinkQuality")) {
        if (!Number(args.Get("LinkQuality"), 0, 100, v)) return Usage("LinkQuality: 0 to 100");
        b.linkQuality = static_cast<LONG>(v);
    }
    if (args.Has("Privacy")) {
        if (!Number(args.Get("Privacy"), 0, 1, v)) return Usage("Privacy: 0 or 1");
        b.privacy = static_cast<LONG>(v);
    }
    if (args.Has("Type") && (!ParseBssType(args.Get("Type"), b.bssType) || b.bssType == 3))
        return Usage("Type: infrastructure or independent");
    if (args.Has("Phy") && !ParsePhyType(args.Get("Phy"), b.phyType)) return Usage("Phy: unknown PHY type");
    if (args.Has("Security") && !ParseSecurity(args.Get("Security"), b.security))
        return Usage("Security: open, wep, wpa, wpa2 or wpa-wpa2");
    b.country = args.Get("Country");
    if (!b.country.empty() && b.country.size() != 2 && b.country.size() != 3)
        return Usage("Country: two letters, or three with the environment (' ', I or O)");
    b.triplets = args.Get("Triplets");
    b.key = args.Get("Key");
    if (b.key.size() > 64) return Usage("Key: at most 64 characters");
    Target t;
    if (int r = OpenTarget(args, false, t)) return r;
    RegKey list = sim::CreateKey(t.key.get(), kBssSubkey);
    if (!list) return Failed("cannot create the Bss key");
    const uint64_t number = NextNumber(list.get());
    if (!args.Has("Ssid") && !args.Has("SsidHex")) b.ssid = "Network " + std::to_string(number);
    if (!args.Has("Bssid")) {
        uint64_t ifNumber = 0;
        sim::ParseUnsigned64(t.ifc->subkey, ifNumber);
        const unsigned char generated[6] = {0x02, 0x00, 0x00, static_cast<unsigned char>(ifNumber),
                                            static_cast<unsigned char>(number >> 8), static_cast<unsigned char>(number)};
        memcpy(b.bssid, generated, 6);
    }
    RegKey entry = sim::CreateKey(list.get(), std::to_string(number).c_str());
    if (!entry || !WriteBss(entry.get(), b)) return Failed("cannot write the network");
    printf("bss %u added %s\n", static_cast<unsigned>(number), sim::FormatBssid(b.bssid).c_str());
    return kExitOk;
}

int CmdRadio(const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (!args.Parse(rest, {"If", "Phy", "Software", "Hardware"}, problem)) return Usage(problem);
    if (!args.Has("Software") && !args.Has("Hardware")) return Usage("radio needs Software= or Hardware=");
    auto state = [&](const char* name, DWORD& out) {
        std::string v = Lower(args.Get(name));
        if (v == "on") out = dot11_radio_state_on;
        else if (v == "off") out = dot11_radio_state_off;
        else return false;
        return true;
    };
    DWORD software = 0, hardware = 0;
    if (args.Has("Software") && !state("Software", software)) return Usage("Software: on or off");
    if (args.Has("Hardware") && !state("Hardware", hardware)) return Usage("Hardware: on or off");
    Target t;
    if (int r = OpenTarget(args, false, t)) return r;
    int64_t phy = -1;
    if (args.Has("Phy") && !Number(args.Get("Phy"), 0, static_cast<int64_t>(t.ifc->phys.size()) - 1, phy))
        return Usage("Phy: 0 to " + std::to_string(t.ifc->phys.size() - 1));
    for (size_t i = 0; i < t.ifc->phys.size(); ++i) {
        if (phy >= 0 && static_cast<size_t>(phy) != i) continue;
        if (software) t.ifc->softwareRadio[i] = software;
        if (hardware) t.ifc->hardwareRadio[i] = hardware;
    }
    return Done(WriteRadio(t.key.get(), *t.ifc));
}

int CmdStats(const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    const char* names[] = {"TxFrames", "RxFrames", "McastTxFrames", "McastRxFrames", "TxFragments", "RxFragments"};
    if (!args.Parse(rest, {"If", names[0], names[1], names[2], names[3], names[4], names[5]}, problem))
        return Usage(problem);
    Target t;
    if (int r = OpenTarget(args, false, t)) return r;
    Statistics& s = t.ifc->stats;
    ULONGLONG* fields[] = {&s.txFrames, &s.rxFrames, &s.mcastTxFrames, &s.mcastRxFrames, &s.txFragments, &s.rxFragments};
    for (int i = 0; i < 6; ++i) {
        if (!args.Has(names[i])) continue;
        uint64_t v;
        if (!sim::ParseUnsigned64(args.Get(names[i]), v)) return Usage(std::string(names[i]) + ": a counter");
        *fields[i] = v;
    }
    return Done(WriteStatistics(t.key.get(), s));
}

int CmdConnect(const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (!args.Parse(rest, {"If", "Ssid", "SsidHex", "Bssid", "Profile", "Channel", "Rssi", "Signal", "TxRate",
                           "RxRate", "Type", "Phy", "Auth", "Cipher"},
                    problem))
        return Usage(problem);
    std::string ssid;
    if (!ParseSsid(args, ssid, problem)) return Usage(problem);
    if (!args.Has("Ssid") && !args.Has("SsidHex")) return Usage("connect needs Ssid= or SsidHex=");
    unsigned char bssid[6] = {};
    if (args.Has("Bssid") && !sim::ParseBssid(args.Get("Bssid"), bssid)) return Usage("Bssid: 00:11:22:33:44:55");
    Target t;
    if (int r = OpenTarget(args, true, t)) return r;
    if (!t.ifc->present) return Failed("interface " + t.ifc->subkey + " is removed");
    if (!t.ifc->RadioOn()) return Failed("the radio of interface " + t.ifc->subkey + " is off");
    // The network in range of that name (and BSSID) is the starting point.
    const Bss* best = nullptr;
    for (const Bss& b : t.ifc->bss)
        if (b.ssid == ssid && (!args.Has("Bssid") || memcmp(b.bssid, bssid, 6) == 0) && (!best || b.rssi > best->rssi))
            best = &b;
    Bss base;
    if (best) base = *best;
    base.ssid = ssid;
    if (args.Has("Bssid")) memcpy(base.bssid, bssid, 6);
    Connection c;
    c.connected = true;
    c.mode = wlan_connection_mode_profile;
    c.profile = Widen(args.Get("Profile", ssid));
    c.ssid = ssid;
    memcpy(c.bssid, base.bssid, 6);
    int64_t v;
    if (args.Has("Type") && (!ParseBssType(args.Get("Type"), base.bssType) || base.bssType == 3))
        return Usage("Type: infrastructure or independent");
    c.bssType = base.bssType;
    if (args.Has("Channel")) {
        if (!Number(args.Get("Channel"), 1, 196, v)) return Usage("Channel: 1 to 196");
        base.channel = static_cast<DWORD>(v);
    }
    c.channel = base.channel;
    if (args.Has("Phy") && !ParsePhyType(args.Get("Phy"), base.phyType)) return Usage("Phy: unknown PHY type");
    c.phyType = EffectivePhyType(base);
    c.phyIndex = t.ifc->PhyIndexOf(c.phyType);
    if (args.Has("Rssi")) {
        if (!Number(args.Get("Rssi"), -128, 0, v)) return Usage("Rssi: -128 to 0 (dBm)");
        base.rssi = static_cast<LONG>(v);
    }
    c.rssi = base.rssi;
    c.signal = QualityFromRssi(c.rssi);
    if (args.Has("Signal")) {
        if (!Number(args.Get("Signal"), 0, 100, v)) return Usage("Signal: 0 to 100");
        c.signal = static_cast<DWORD>(v);
    }
    c.rxRate = c.txRate = MaxRateKbps(c.phyType, c.channel);
    if (args.Has("TxRate")) {
        if (!Number(args.Get("TxRate"), 0, 0xFFFFFFFFll, v)) return Usage("TxRate: kbit/s");
        c.txRate = static_cast<DWORD>(v);
    }
    if (args.Has("RxRate")) {
        if (!Number(args.Get("RxRate"), 0, 0xFFFFFFFFll, v)) return Usage("RxRate: kbit/s");
        c.rxRate = static_cast<DWORD>(v);
    }
    AuthCipher ac = DefaultAuthCipher(base.security);
    std::vector<AuthCipher> given;
    if (args.Has("Auth") || args.Has("Cipher")) {
        std::string pair = args.Get("Auth", AuthName(ac.auth)) + "/" + args.Get("Cipher", CipherName(ac.cipher));
        if (!ParsePairs(pair, given) || given.size() != 1) return Usage("Auth/Cipher: unknown algorithm");
        ac = given[0];
    }
    c.auth = ac.auth;
    c.cipher = ac.cipher;
    c.securityEnabled = ac.cipher != DOT11_CIPHER_ALGO_NONE;
    return Done(WriteConnection(t.key.get(), c));
}

int CmdDisconnect(const std::vector<std::string>& rest) {
    Args args;
    std::string problem;
    if (!args.Parse(rest, {"If"}, problem)) return Usage(problem);
    Target t;
    if (int r = OpenTarget(args, false, t)) return r;
    return Done(WriteConnection(t.key.get(), Connection()));
}

const char* const kFunctions[] = {
    "WlanCloseHandle", "WlanConnect", "WlanDeleteProfile", "WlanDisconnect", "WlanEnumInterfaces",
    "WlanExtractPsdIEDataList", "WlanGetAvailableNetworkList", "WlanGetFilterList", "WlanGetInterfaceCapability",
    "WlanGetNetworkBssList", "WlanGetProfile", "WlanGetProfileCustomUserData", "WlanGetProfileList",
    "WlanGetSecuritySettings", "WlanIhvControl", "WlanOpenHandle", "WlanQueryAutoConfigParameter",
    "WlanQueryInterface", "WlanReasonCodeToString", "WlanRegisterNotification", "WlanRenameProfile",
    "WlanSaveTemporaryProfile", "WlanScan", "WlanSetAutoConfigParameter", "WlanSetFilterList", "WlanSetInterface",
    "WlanSetProfile", "WlanSetProfileCustomUserData", "WlanSetProfileEapUserData", "WlanSetProfileEapXmlUserData",
    "WlanSetProfileList", "WlanSetProfilePosition", "WlanSetPsdIEDataList", "WlanSetSecuritySettings"};

const char* const kOpcodes[] = {"autoconf_enabled", "background_scan_enabled", "media_streaming_mode", "radio_state",
                                "bss_type", "interface_state", "current_connection", "channel_number",
                                "supported_infrastructure_auth_cipher_pairs", "supported_adhoc_auth_cipher_pairs",
                                "supported_country_or_region_string_list", "current_operation_mode",
                                "supported_safe_mode", "certified_safe_mode", "hosted_network_capable",
                                "statistics", "rssi"};

// "WlanScan" or "WlanQueryInterface.rssi", spelled as the stand-in looks it up.
bool ErrorName(const std::string& text, std::string& name) {
    size_t dot = text.find('.');
    std::string function = text.substr(0, dot);
    const char* found = nullptr;
    for (const char* f : kFunctions)
        if (Lower(function) == Lower(f)) found = f;
    if (!found) return false;
    name = found;
    if (dot == std::string::npos) return true;
    if (name != "WlanQueryInterface" && name != "WlanSetInterface") return false;
    for (const char* op : kOpcodes)
        if (Lower(text.substr(dot + 1)) == op) {
            name += std::string(".") + op;
            return true;
        }
    return false;
}

int CmdError(const std::string& sub, const std::vector<std::string>& rest) {
    if (sub == "set") {
        if (rest.empty()) return Usage("error set needs Function=code");
        std::vector<std::pair<std::string, DWORD>> errors;
        for (const std::string& a : rest) {
            size_t eq = a.find('=');
            std::string name;
            DWORD code;
            if (eq == std::string::npos || !ErrorName(a.substr(0, eq), name))
                return Usage("not Function[.opcode]=code with a function of the library: " + a);
            if (!ErrorCode(a.substr(eq + 1), code)) return Usage("not an error code: " + a.substr(eq + 1));
            errors.emplace_back(name, code);
        }
        RegKey root = CreateRoot();
        RegKey key = sim::CreateKey(root.get(), kErrorsSubkey);
        bool ok = static_cast<bool>(key);
        for (const auto& e : errors) ok = ok && sim::WriteDword(key.get(), e.first.c_str(), e.second);
        return Done(ok);
    }
    if (sub == "clear") {
        RegKey root = OpenRoot(KEY_READ | KEY_WRITE);
        if (rest.empty()) return Done(!root || sim::DeleteKeyTree(root.get(), kErrorsSubkey));
        std::vector<std::string> names;
        for (const std::string& a : rest) {
            std::string name;
            if (!ErrorName(a, name)) return Usage("not Function[.opcode]: " + a);
            names.push_back(name);
        }
        RegKey key = sim::OpenKey(root.get(), kErrorsSubkey, KEY_READ | KEY_WRITE);
        for (const std::string& n : names) {
            LONG r = key ? RegDeleteValueA(key.get(), n.c_str()) : ERROR_FILE_NOT_FOUND;
            if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) return Failed("cannot remove " + n);
        }
        return kExitOk;
    }
    return Usage("error needs set or clear");
}

// ---------------------------------------------------------------------------
// show

// An SSID in double quotes: printable ASCII as it is, '"' and '\' escaped,
// other bytes as \xNN.
std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    char hex[5];
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
        else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else {
            snprintf(hex, sizeof(hex), "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

std::string Hex32(DWORD v) {
    char text[12];
    snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(v));
    return text;
}

std::string Or(const std::string& text, const char* none = "-") { return text.empty() ? none : text; }

void ShowInterface(HKEY root, const Interface& ifc) {
    const char* n = ifc.subkey.c_str();
    auto line = [&](const char* field, const std::string& value) { printf("interface %s %s %s\n", n, field, value.c_str()); };
    line("guid", FormatGuid(ifc.guid));
    line("description", ifc.description);
    line("present", ifc.present ? "1" : "0");
    line("state", InterfaceStateName(ifc.State()));
    line("phys", PhyListText(ifc.phys));
    line("software", RadioListText(ifc.softwareRadio));
    line("hardware", RadioListText(ifc.hardwareRadio));
    line("radio", ifc.RadioOn() ? "on" : "off");
    line("infrapairs", FormatPairs(ifc.infraPairs));
    line("adhocpairs", FormatPairs(ifc.adhocPairs));
    line("countries", Or(CountriesText(ifc.countries)));
    line("bsstypefilter", BssTypeName(ifc.bssTypeFilter));
    line("scanresult", ifc.scanResult == 0 ? "complete" : ifc.scanResult == kScanSilent ? "silent" : "fail " + Hex32(ifc.scanResult));
    line("connectresult", Hex32(ifc.connectResult));
    const Statistics& s = ifc.stats;
    line("stats", "TxFrames=" + std::to_string(s.txFrames) + " RxFrames=" + std::to_string(s.rxFrames) +
                      " McastTxFrames=" + std::to_string(s.mcastTxFrames) + " McastRxFrames=" +
                      std::to_string(s.mcastRxFrames) + " TxFragments=" + std::to_string(s.txFragments) +
                      " RxFragments=" + std::to_string(s.rxFragments));
    const Connection& c = ifc.conn;
    if (ifc.State() != wlan_interface_state_connected) {
        line("connection", "none");
    } else {
        static const char* const modes[] = {"profile", "temporary_profile", "discovery_secure", "discovery_unsecure",
                                            "auto"};
        line("connection", "bssid=" + sim::FormatBssid(c.bssid) + " type=" + BssTypeName(c.bssType) +
                               " phy=" + PhyTypeName(c.phyType) + " phyindex=" + std::to_string(c.phyIndex) +
                               " channel=" + std::to_string(c.channel) + " rssi=" + std::to_string(c.rssi) +
                               " signal=" + std::to_string(c.signal) + " rxrate=" + std::to_string(c.rxRate) +
                               " txrate=" + std::to_string(c.txRate) + " security=" + (c.securityEnabled ? "1" : "0") +
                               " auth=" + AuthName(c.auth) + " cipher=" + CipherName(c.cipher) +
                               " mode=" + (c.mode < 5 ? modes[c.mode] : "invalid") + " ssid=" + Quoted(c.ssid));
        line("connection-profile", Narrow(c.profile));
    }
    RegKey list = sim::OpenKey(root, kInterfacesSubkey);
    RegKey key = sim::OpenKey(list.get(), ifc.subkey.c_str());
    for (const std::wstring& profile : ProfileNames(key.get())) line("profile", Narrow(profile));
    for (const Bss& b : ifc.bss) {
        printf("interface %s bss %s bssid=%s channel=%lu freq=%lu rssi=%ld quality=%ld type=%s phy=%s security=%s "
               "privacy=%d country=%s key=%s ssid=%s\n",
               n, b.subkey.c_str(), sim::FormatBssid(b.bssid).c_str(), static_cast<unsigned long>(b.channel),
               static_cast<unsigned long>(ChannelFrequencyKhz(b.channel)), static_cast<long>(b.rssi),
               static_cast<long>(EffectiveLinkQuality(b)), BssTypeName(b.bssType),
               PhyTypeName(EffectivePhyType(b)).c_str(), SecurityName(b.security), EffectivePrivacy(b) ? 1 : 0,
               Or(b.country).c_str(), Or(b.key).c_str(), Quoted(b.ssid).c_str());
    }
}

void ShowValues(HKEY key, const char* prefix) {
    char name[256];
    for (DWORD i = 0; key; ++i) {
        DWORD len = sizeof(name);
        if (RegEnumValueA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        auto v = sim::ReadU32(key, name);
        printf("%s %s %s\n", prefix, name, v ? Hex32(*v).c_str() : "?");
    }
}

int CmdShow(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("show takes no arguments");
    RegKey root = OpenRoot();
    HKEY r = root.get();
    printf("key HKCU\\%s %s\n", kKeyPath, r ? "present" : "absent");
    Settings s = ReadSettings(r);
    printf("setting NotifyDelayMs %lu\n", static_cast<unsigned long>(s.notifyDelayMs));
    printf("setting ApiVersion %lu\n", static_cast<unsigned long>(s.apiVersion));
    for (const Interface& ifc : ReadInterfaces(r, true)) ShowInterface(r, ifc);
    RegKey errors = sim::OpenKey(r, kErrorsSubkey);
    ShowValues(errors.get(), "error");

    std::string text;
    std::wstring wide;
    auto u32 = [&](const char* name) { return sim::ReadU32(r, name); };
    if (ReadTextW(r, "LastProfileXml", wide, 1 << 20)) {
        printf("lastprofile interface %s\n", sim::ReadText(r, "LastProfileInterface", text, 38) ? text.c_str() : "-");
        printf("lastprofile flags %s\n", Hex32(u32("LastProfileFlags").value_or(0)).c_str());
        printf("lastprofile overwrite %lu\n", static_cast<unsigned long>(u32("LastProfileOverwrite").value_or(0)));
        auto result = u32("LastProfileResult");
        printf("lastprofile result %s\n", result ? std::to_string(*result).c_str() : "-");
        printf("lastprofile reason %s\n", Hex32(u32("LastProfileReason").value_or(0)).c_str());
        printf("lastprofile problem %s\n",
               sim::ReadText(r, "LastProfileProblem", text, 1024) ? Or(text).c_str() : "-");
        std::string xml = Narrow(wide);
        size_t start = 0;
        while (start < xml.size()) {
            size_t end = std::min(xml.find('\n', start), xml.size());
            std::string l = xml.substr(start, end - start);
            if (!l.empty() && l.back() == '\r') l.pop_back();
            printf("lastprofile xml %s\n", l.c_str());
            start = end + 1;
        }
    } else {
        printf("lastprofile none\n");
    }
    if (sim::ReadText(r, "LastConnectInterface", text, 38)) {
        printf("lastconnect interface %s\n", text.c_str());
        printf("lastconnect mode %s\n", sim::ReadText(r, "LastConnectMode", text, 32) ? text.c_str() : "-");
        printf("lastconnect profile %s\n", ReadTextW(r, "LastConnectProfile", wide, 1 << 20) ? Or(Narrow(wide)).c_str() : "-");
        DWORD type = 0;
        std::vector<BYTE> ssid;
        printf("lastconnect ssid %s\n", sim::ReadRaw(r, "LastConnectSsid", type, ssid, 32)
                                            ? Quoted(std::string(ssid.begin(), ssid.end())).c_str()
                                            : "-");
        printf("lastconnect bsstype %s\n", BssTypeName(u32("LastConnectBssType").value_or(0)));
        printf("lastconnect flags %s\n", Hex32(u32("LastConnectFlags").value_or(0)).c_str());
        auto result = u32("LastConnectResult");
        printf("lastconnect result %s\n", result ? std::to_string(*result).c_str() : "-");
        auto why = u32("LastConnectReason");
        printf("lastconnect reason %s\n", why ? Hex32(*why).c_str() : "pending");
    } else {
        printf("lastconnect none\n");
    }
    RegKey processes = sim::OpenKey(r, kProcessesSubkey);
    for (const std::string& pid : sim::NetworkSubkeyNames(processes.get())) {
        RegKey p = sim::OpenKey(processes.get(), pid.c_str());
        std::string image;
        sim::ReadText(p.get(), "Image", image, MAX_PATH);
        printf("process %s %s live=%lu total=%lu badfrees=%lu\n", pid.c_str(), Or(image).c_str(),
               static_cast<unsigned long>(sim::ReadU32(p.get(), "Live").value_or(0)),
               static_cast<unsigned long>(sim::ReadU32(p.get(), "Total").value_or(0)),
               static_cast<unsigned long>(sim::ReadU32(p.get(), "BadFrees").value_or(0)));
    }
    printf("callbackmisuse %lu\n", static_cast<unsigned long>(u32("CallbackMisuse").value_or(0)));
    return kExitOk;
}

int CmdLastProfile(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("lastprofile takes no arguments");
    RegKey root = OpenRoot();
    std::wstring xml;
    if (!ReadTextW(root.get(), "LastProfileXml", xml, 1 << 20)) return Failed("no profile was set");
    int bytes = WideCharToMultiByte(CP_UTF8, 0, xml.data(), static_cast<int>(xml.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, xml.data(), static_cast<int>(xml.size()), &utf8[0], bytes, nullptr, nullptr);
    _setmode(_fileno(stdout), _O_BINARY);  // exactly as given, line ends too
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    return kExitOk;
}

// Loads wlanapi.dll by name, as a program beside this tool does, and says
// which file that is: the stand-in (it has the count export) or another.
int CmdWhich(const std::vector<std::string>& args) {
    if (!args.empty()) return Usage("which takes no arguments");
    HMODULE module = LoadLibraryA("wlanapi.dll");
    if (!module) return Failed("no wlanapi.dll loads here");
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    const bool standin = GetProcAddress(module, "StandinLiveAllocations") != nullptr;
    printf("wlanapi %s %s\n", standin ? "stand-in" : "other", path);
    FreeLibrary(module);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("no command");
    std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    auto sub = [&]() {
        std::string s = args.empty() ? std::string() : args.front();
        if (!args.empty()) args.erase(args.begin());
        return s;
    };
    if (command == "help" || command == "-h" || command == "--help" || command == "/?") {
        fputs(kUsage, stdout);
        return kExitOk;
    }
    if (command == "reset") return CmdReset(args);
    if (command == "show") return CmdShow(args);
    if (command == "lastprofile") return CmdLastProfile(args);
    if (command == "which") return CmdWhich(args);
    if (command == "set") return CmdSet(args);
    if (command == "interface") return CmdInterface(sub(), args);
    if (command == "bss") return CmdBss(sub(), args);
    if (command == "radio") return CmdRadio(args);
    if (command == "stats") return CmdStats(args);
    if (command == "connect") return CmdConnect(args);
    if (command == "disconnect") return CmdDisconnect(args);
    if (command == "error") return CmdError(sub(), args);
    return Usage("unknown command: " + command);
}
