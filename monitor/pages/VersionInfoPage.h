// The version information page, tab 4 (skeleton: the page exists with its
// title; its fields come with their own change).
#pragma once

#include "pages/Page.h"

class CVersionInfoPage : public CPage {
public:
    CVersionInfoPage();
};
