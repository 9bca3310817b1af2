// Committing a monitor profile: the network it names (or, for "ANY", the
// strongest one in range whose security matches), the WLAN profile made of
// it, stored with WlanSetProfile and connected with WlanConnect.
#pragma once

#include "LinkState.h"
#include "Profile.h"
#include "WlanSession.h"

namespace nicport {

bool CommitProfile(CWlanSession& session, CLinkState& link, const Profile& profile);

}  // namespace nicport
