#include "Commit.h"

#include <cstring>
#include <string>

#include "BssList.h"
#include "ProfileXml.h"

namespace nicport {
namespace {

// What the scan results say of the network to join.
struct Target {
    bool found = false;
    uint8_t ssid[kMaxSsid] = {};
    size_t ssidLength = 0;
    bool rsn = false;  // announces WPA2 (the RSN element)
};

// The strongest entry of the name asked for (any name with `anyNetwork`)
// whose kind (access point or ad hoc) is the profile's; for "any network"
// its privacy must also match the profile's security.
Target FindTarget(const CBssView& view, const uint8_t* ssid, size_t ssidLength, bool anyNetwork, bool adHoc,
                  bool secured) {
    Target target;
    unsigned best = 0;
    for (size_t i = 0; i < view.Count(); ++i) {
        const WLAN_BSS_ENTRY& entry = view.Entry(i);
        const SiteInfo site = SiteFromEntry(entry);
        if ((site.networkType == 1) == adHoc) continue;
        const uint8_t* name = nullptr;
        const size_t nameLength = EntrySsid(entry, name);
        if (anyNetwork) {
            if (nameLength == 0 || (site.encryption != 0) != secured) continue;
        } else if (nameLength != ssidLength || std::memcmp(name, ssid, ssidLength) != 0) {
            continue;
        }
        if (target.found && entry.uLinkQuality <= best) continue;
        target.found = true;
        best = entry.uLinkQuality;
        std::memcpy(target.ssid, name, nameLength);
        target.ssidLength = nameLength;
        target.rsn = view.HasIe(i, kIeRsn);
    }
    return target;
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

bool CommitProfile(CWlanSession& session, CLinkState& link, const Profile& profile) {
    const WlanFunctions& fn = session.Fn();
    if (!session.Usable() || !fn.SetProfile || !fn.Connect) return false;
    const bool adHoc = profile.operatingMode == 0;
    const bool anyNetwork = IsAnyNetwork(profile);

    NetworkChoice network;
    network.ssidLength = ProfileSsid(profile, network.ssid);

    Target target;
    if (fn.GetNetworkBssList) {
        WlanMemory<WLAN_BSS_LIST> list(fn);
        if (session.Note(fn.GetNetworkBssList(session.Client(), &session.Interface(), nullptr, dot11_BSS_type_any,
                                              FALSE, nullptr, list.put())) == ERROR_SUCCESS &&
            list)
            target = FindTarget(CBssView(list.get()), network.ssid, network.ssidLength, anyNetwork, adHoc,
                                profile.authType != AUTH_NONE);
    }
    if (anyNetwork) {
        if (!target.found) return false;  // nothing in range to stand for "any"
        std::memcpy(network.ssid, target.ssid, target.ssidLength);
        network.ssidLength = target.ssidLength;
    }
    // WPA2 where both ends have it; a network the scan did not show is
    // given the best the adapter offers.
    if (profile.authType == AUTH_WPA_PSK && !adHoc)
        network.wpa2 = link.Wpa2Capable() && (!target.found || target.rsn);

    WlanProfile wlanProfile;
    if (!MakeWlanProfile(profile, network, wlanProfile)) return false;
    const std::wstring xml = Widened(WlanProfileXml(wlanProfile));
    const std::wstring name = Widened(wlanProfile.name);

    DWORD reason = 0;
    if (session.Note(fn.SetProfile(session.Client(), &session.Interface(), 0, xml.c_str(), nullptr, TRUE, nullptr,
                                   &reason)) != ERROR_SUCCESS)
        return false;
    WLAN_CONNECTION_PARAMETERS parameters = {};
    parameters.wlanConnectionMode = wlan_connection_mode_profile;
    parameters.strProfile = name.c_str();
    parameters.dot11BssType = adHoc ? dot11_BSS_type_independent : dot11_BSS_type_infrastructure;
    const DWORD result = session.Note(fn.Connect(session.Client(), &session.Interface(), &parameters, nullptr));
    link.Invalidate();
    return result == ERROR_SUCCESS;
}

}  // namespace nicport
