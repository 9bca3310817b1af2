// The IP information page, tab 2 (skeleton: the page exists with its title;
// its fields, worker thread and graph come with their own change).
#pragma once

#include "pages/Page.h"

class CIpInfoPage : public CPage {
public:
    CIpInfoPage();
};
