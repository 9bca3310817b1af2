/*
 * Resource numbers of the Monitor program.
 *
 * Included by the resource scripts (windres) and by C++ code, so it holds
 * nothing but #define lines of plain integers. The numbers are part of the
 * contract with resource modules (res.dll): a module that relabels or
 * re-pictures the program carries its resources under exactly these numbers.
 *
 * Naming:
 *   IDD_*   dialog templates
 *   IDC_*   controls; IDC_<DIALOG>_<ROLE> inside a page or dialog, so that
 *           the same number may appear in several templates under
 *           different names (the numbers are fixed, the names are ours)
 *   IDS_*   strings
 *   IDI_*   icons, IDB_* bitmaps, IDR_* menus
 *   ID_*    menu commands
 *
 * Strings whose text begins with "none" hide the controls they would label
 * (see LoadControlLabels); the comments give the program's own texts.
 */
#ifndef MONITOR_RESOURCE_H
#define MONITOR_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

/* ---- Dialog templates ------------------------------------------------ */
#define IDD_MAIN                        102   /* main window */
#define IDD_SURVEY_PAGE                 132   /* tab 3, Site Survey */
#define IDD_PROFILE_NAME                136   /* "Enter name of the new profile" */
#define IDD_VERSION_PAGE                139   /* tab 4, Version Information */
#define IDD_IP_PAGE                     140   /* tab 2, IP Information */
#define IDD_LINK_PAGE                   141   /* tab 1, Link Information */
#define IDD_CONFIG_PAGE                 142   /* tab 0, Configuration */
#define IDD_WEP_KEY                     169   /* WEP key dialog (auth type 1) */
#define IDD_WPA_PSK                     170   /* WPA-PSK dialog (auth type 7) */
#define IDD_COMMON_PAGE                 215   /* configuration sub-page 0 */
#define IDD_SECURITY_PAGE               217   /* configuration sub-page 1 */
#define IDD_ADVANCED_PAGE               219   /* configuration sub-page 2 */

/* Resource type of the combo-box item lists that belong to a template
   (one resource per template, same number as the template). Records, packed,
   little-endian: WORD control id, WORD message (0x0403 add to a combo box,
   0x0401 add to a list box), DWORD byte count n, n bytes of NUL-terminated
   text; a WORD 0 ends the list. Applied by fw::CDialog (monitor/framework/DialogItemLists.h). */
#define RT_DLGINIT_ID                   240
#define DLGINIT_CB_ADDSTRING            0x0403
#define DLGINIT_LB_ADDSTRING            0x0401

/* ---- Icons ----------------------------------------------------------- */
#define IDI_APP                         103   /* window icon */
#define IDI_HELP_BOOK                   131   /* Help button: book with "?" */
#define IDI_EXIT                        134   /* Exit button: running figure */
#define IDI_RADIO_OFF                   135   /* dark red ball */
#define IDI_RADIO_ON                    136   /* bright green ball */
#define IDI_SCAN                        141   /* survey Scan button */
#define IDI_RELEASE                     142   /* IP page Release button */
#define IDI_RENEW                       143   /* IP page Renew button */
#define IDI_NEW                         144   /* configuration New */
#define IDI_DELETE                      145   /* configuration Delete */
#define IDI_APPLY                       146   /* configuration Apply */
#define IDI_SAVE                        147   /* configuration Save */
#define IDI_TXPOWER_HIGH                148   /* beside the power bar, top */
#define IDI_TXPOWER_MEDIUM              149   /* middle */
#define IDI_TXPOWER_LOW                 150   /* bottom */
#define IDI_SECURITY_OFF                152   /* Security button state 0 */
#define IDI_SECURITY_ON                 153   /* Security button state 1 */
#define IDI_SET_DEFAULT                 154   /* advanced page Set default */
#define IDI_TRAY_CONNECTED              156   /* signal bars, green dot */
#define IDI_TRAY_DISCONNECTED           161   /* grey bars, red cross */
#define IDI_KEY                         163   /* survey: encrypted, 23 x 14 */
#define IDI_ACCESS_POINT                164   /* survey: infrastructure, 60 x 14 */
#define IDI_COMPUTER                    165   /* survey: ad hoc, 60 x 14 */

/* ---- Bitmaps --------------------------------------------------------- */
#define IDB_MAIN_LOGO                   130   /* hidden picture of the main window */
#define IDB_VERSION_LOGO                140   /* logo place of the version page (blank) */
#define IDB_MENU_MARK                   151   /* 12 x 12 mark of the last applied profile */
#define IDB_NET_ADHOC                   166   /* two computers */
#define IDB_NET_INFRASTRUCTURE          167   /* computer and access point */
#define IDB_NET_NONE                    168   /* computer and a cross */
#define IDB_GRADIENT                    174   /* 256 x 1 blue-to-white strip */

/* ---- Menus and commands ---------------------------------------------- */
#define IDR_TRAY_MENU                   154   /* one pop-up, "PopUp" */
#define ID_TRAY_HIDE                    32772
#define ID_TRAY_SHOW                    32773
#define ID_TRAY_EXIT                    32774
#define ID_TRAY_RADIO                   32820
#define ID_TRAY_PROFILE_BASE            32782 /* k-th profile entry: base + k */
#define ID_TRAY_PROFILE_FIRST           32783
#define ID_TRAY_PROFILE_LAST            32812 /* 30 profiles: the store's limit */
#define ID_HELP_INDEX                   32651 /* opens the help file */

/* ---- Main window (IDD_MAIN) ------------------------------------------ */
#define IDC_ADAPTER_LIST                1000
#define IDC_MAIN_PICTURE                1007
#define IDC_TAB                         1011
#define IDC_EXIT                        1024
#define IDC_RADIO                       1029
#define IDC_HELP_BUTTON                 57670

/* ---- Link information page (IDD_LINK_PAGE) --------------------------- */
#define IDC_LINK_SSID                   1016
#define IDC_LINK_SSID_LABEL             1043
#define IDC_LINK_BSSID                  1012
#define IDC_LINK_BSSID_LABEL            1044
#define IDC_LINK_CHANNEL                1014
#define IDC_LINK_CHANNEL_LABEL          1045
#define IDC_LINK_TXRATE                 1015
#define IDC_LINK_TXRATE_LABEL           1046
#define IDC_LINK_RXRATE                 1023
#define IDC_LINK_RXRATE_LABEL           1047
#define IDC_LINK_ENCRYPTION             1076
#define IDC_LINK_ENCRYPTION_LABEL       1048
#define IDC_LINK_WIRELESS_TYPE          1024
#define IDC_LINK_WIRELESS_TYPE_LABEL    1049
#define IDC_LINK_COUNTRY                1013
#define IDC_LINK_COUNTRY_LABEL          1050
#define IDC_LINK_THROUGHPUT_GROUP       1054
#define IDC_LINK_FRAGMENTS1             1017  /* beside "Receive Fragments" */
#define IDC_LINK_FRAGMENTS1_LABEL       1051
#define IDC_LINK_FRAGMENTS2             1018  /* beside "Transmit Fragments" */
#define IDC_LINK_FRAGMENTS2_LABEL       1052
#define IDC_LINK_QUALITY_BAR            1019
#define IDC_LINK_QUALITY_LABEL          1021
#define IDC_LINK_SIGNAL_BAR             1020
#define IDC_LINK_SIGNAL_LABEL           1022
#define IDC_LINK_PICTURE                1025

/* ---- Site survey page (IDD_SURVEY_PAGE) ------------------------------ */
#define IDC_SURVEY_LIST                 1013
#define IDC_SURVEY_SCAN                 1014
#define IDC_SURVEY_PROGRESS             1015

/* ---- IP information page (IDD_IP_PAGE) ------------------------------- */
#define IDC_IP_ADDRESS_LABEL            1037
#define IDC_IP_ADDRESS                  1079
#define IDC_IP_NETMASK_LABEL            1042
#define IDC_IP_NETMASK                  1082
#define IDC_IP_GATEWAY_LABEL            1038
#define IDC_IP_GATEWAY                  1081
#define IDC_IP_HOSTNAME_LABEL           1039
#define IDC_IP_HOSTNAME                 1080
#define IDC_IP_RELEASE                  1040
#define IDC_IP_RENEW                    1041
#define IDC_IP_GRAPH                    1083
#define IDC_IP_GRAPH_SERIES             1031

/* ---- Version information page (IDD_VERSION_PAGE) --------------------- */
#define IDC_VER_COMPANY                 1033
#define IDC_VER_LINK                    1009
#define IDC_VER_LEGAL                   1034
#define IDC_VER_DRIVER_LABEL            1035
#define IDC_VER_DRIVER                  1012
#define IDC_VER_APP_LABEL               1036
#define IDC_VER_APP                     1013

/* ---- Configuration page (IDD_CONFIG_PAGE) ---------------------------- */
#define IDC_CFG_PROFILE_LABEL           1059
#define IDC_CFG_PROFILE_LIST            1000
#define IDC_CFG_NEW                     1001
#define IDC_CFG_SAVE                    1023
#define IDC_CFG_DELETE                  1002
#define IDC_CFG_TAB                     1016
#define IDC_CFG_APPLY                   1027

/* ---- New-profile dialog (IDD_PROFILE_NAME) --------------------------- */
#define IDC_PROFILE_NAME                1028

/* ---- Common settings sub-page (IDD_COMMON_PAGE) ---------------------- */
#define IDC_COMMON_SSID_LABEL           1055
#define IDC_COMMON_SSID                 1006
#define IDC_COMMON_MODE_LABEL           1056
#define IDC_COMMON_MODE                 1005
#define IDC_COMMON_RATE_LABEL           1057
#define IDC_COMMON_RATE                 1008
#define IDC_COMMON_CHANNEL_LABEL        1058
#define IDC_COMMON_CHANNEL              1007
#define IDC_COMMON_POWERSAVE_LABEL      1009
#define IDC_COMMON_POWERSAVE            1066
#define IDC_COMMON_NETTYPE_LABEL        1090
#define IDC_COMMON_NETTYPE              1089

/* ---- Security sub-page (IDD_SECURITY_PAGE) --------------------------- */
#define IDC_SEC_TOGGLE                  1017
#define IDC_SEC_AUTH_LABEL              1079
#define IDC_SEC_AUTH                    1074

/* ---- Advanced settings sub-page (IDD_ADVANCED_PAGE) ------------------ */
#define IDC_ADV_QOS                     1001
#define IDC_ADV_RTS_VALUE               1026
#define IDC_ADV_FRAG_VALUE              1027
#define IDC_ADV_TXPOWER                 1059
#define IDC_ADV_SCANTYPE_LABEL          1060
#define IDC_ADV_TXPOWER_GROUP           1065
#define IDC_ADV_PREAMBLE_LABEL          1066
#define IDC_ADV_PREAMBLE                1067
#define IDC_ADV_RTS_GROUP               1068
#define IDC_ADV_SET_DEFAULT             1069
#define IDC_ADV_FRAG_GROUP              1070
#define IDC_ADV_RTS_MIN                 1071
#define IDC_ADV_FRAG_MIN                1072
#define IDC_ADV_FRAG_MAX                1073
#define IDC_ADV_RTS_MAX                 1074
#define IDC_ADV_TXPOWER_ICON_HIGH       1075
#define IDC_ADV_TXPOWER_ICON_MEDIUM     1076
#define IDC_ADV_TXPOWER_ICON_LOW        1077
#define IDC_ADV_SCANTYPE                1085
#define IDC_ADV_RTS                     1086
#define IDC_ADV_FRAG                    1087

/* ---- WEP key dialog (IDD_WEP_KEY) ------------------------------------ */
#define IDC_WEP_KEY1                    1010
#define IDC_WEP_KEY2                    1012
#define IDC_WEP_KEY3                    1013
#define IDC_WEP_KEY4                    1014
#define IDC_WEP_PERUSER                 1015
#define IDC_WEP_DEFKEY                  1029
#define IDC_WEP_PASSPHRASE              1030
#define IDC_WEP_USE_PASSPHRASE          1031
#define IDC_WEP_KEYTYPE                 1049
#define IDC_WEP_AUTH                    1073
#define IDC_WEP_AUTH_LABEL              1080
#define IDC_WEP_KEYTYPE_LABEL           1082
#define IDC_WEP_DEFKEY_LABEL            1083
#define IDC_WEP_KEY1_LABEL              1084
#define IDC_WEP_KEY2_LABEL              1085
#define IDC_WEP_KEY3_LABEL              1086
#define IDC_WEP_KEY4_LABEL              1087
#define IDC_WEP_PERUSER_LABEL           1094

/* ---- WPA-PSK dialog (IDD_WPA_PSK) ------------------------------------ */
#define IDC_WPA_PSK_LABEL               1078
#define IDC_WPA_PSK                     1028

/* ---- Strings ---------------------------------------------------------- */
#define IDS_RADIO_ON                    1     /* "Wireless On" */
#define IDS_RADIO_OFF                   2     /* "Wireless Off" */
#define IDS_HELP                        3     /* "Help" */
#define IDS_EXIT                        4     /* "Exit" */
#define IDS_PRODUCT                     5     /* "Wavelume": caption, single-instance key */
#define IDS_TAB_VERSION                 6
#define IDS_TAB_SURVEY                  7
#define IDS_TAB_IP                      8
#define IDS_TAB_LINK                    9
#define IDS_TAB_CONFIG                  10
#define IDS_SUPPORT_URL                 11
#define IDS_SCAN                        12
#define IDS_SCANNING                    13
#define IDS_SUBTAB_COMMON               14
#define IDS_SUBTAB_SECURITY             15
#define IDS_SUBTAB_ADVANCED             16
#define IDS_SECURITY_ON                 17
#define IDS_SECURITY_OFF                18
#define IDS_SET_DEFAULT                 19
#define IDS_ADAPTER                     20    /* "Wireless Card" */
#define IDS_SURVEY_COLUMNS              21    /* titles separated by "|" */
#define IDS_APP_KEY                     22    /* registry key under HKLM */
#define IDS_GRAPH_SERIES                24    /* "incoming|outgoing|both" */
#define IDS_QUALITY_POOR                26
#define IDS_QUALITY_FAIR                27
#define IDS_QUALITY_GOOD                28
#define IDS_QUALITY_EXCELLENT           29
#define IDS_VER_COMPANY                 31
#define IDS_VER_LEGAL                   32
#define IDS_VER_DRIVER                  33
#define IDS_VER_APP                     34
#define IDS_IP_ADDRESS                  35
#define IDS_IP_NETMASK                  36
#define IDS_IP_GATEWAY                  37
#define IDS_IP_HOSTNAME                 38
#define IDS_LINK_SSID                   39
#define IDS_LINK_BSSID                  40
#define IDS_LINK_CHANNEL                41
#define IDS_LINK_TXRATE                 42
#define IDS_LINK_RXRATE                 43
#define IDS_LINK_ENCRYPTION             44
#define IDS_LINK_WIRELESS_TYPE          45
#define IDS_LINK_COUNTRY                46
#define IDS_LINK_FRAGMENTS1             47
#define IDS_LINK_FRAGMENTS2             1018
#define IDS_LINK_THROUGHPUT             1019
#define IDS_COMMON_SSID                 1020
#define IDS_COMMON_MODE                 1021
#define IDS_COMMON_RATE                 1022
#define IDS_COMMON_CHANNEL              1023
#define IDS_COMMON_POWERSAVE            1024
#define IDS_CFG_SELECT_PROFILE          1025
#define IDS_RTS_DISABLED                1026  /* "disable" */
#define IDS_LINK_QUALITY                1027
#define IDS_LINK_SIGNAL                 1028
#define IDS_ADV_TXPOWER                 1029
#define IDS_ADV_QOS                     1030
#define IDS_ADV_PREAMBLE                1031
#define IDS_ADV_SCANTYPE                1032
#define IDS_ADV_RTS                     1033
#define IDS_ADV_FRAG                    1034
#define IDS_WPA_PSK                     1035
#define IDS_SEC_AUTH_TYPE               1036
#define IDS_WEP_AUTH                    1037
#define IDS_WEP_USE_PASSPHRASE          1039
#define IDS_WEP_KEYTYPE                 1049
#define IDS_WEP_DEFKEY                  1050
#define IDS_WEP_KEY1                    1051
#define IDS_WEP_KEY2                    1052
#define IDS_WEP_KEY3                    1053
#define IDS_WEP_KEY4                    1054
#define IDS_WEP_PERUSER                 1055
#define IDS_COMMON_NETTYPE              1056
#define IDS_CFG_PROFILE_NAME            1057
#define IDS_CFG_NEW                     1058
#define IDS_CFG_SAVE                    1059
#define IDS_CFG_DELETE                  1060
#define IDS_CFG_APPLY                   1061
#define IDS_MODE_ADHOC                  1062
#define IDS_MODE_INFRASTRUCTURE         1063
#define IDS_POWERSAVE_DISABLED          1064
#define IDS_POWERSAVE_ENABLED           1065
#define IDS_KEYTYPE_64_HEX              1066
#define IDS_KEYTYPE_64_ASCII            1067
#define IDS_KEYTYPE_128_HEX             1068
#define IDS_KEYTYPE_128_ASCII           1069
#define IDS_PROFILE_LIMIT               1070  /* printf format, %d = 30 */
#define IDS_PROFILE_NAME_INVALID        1071  /* a name with a "\" */
#define IDS_PROFILE_NAME_TAKEN          1072  /* printf format, %s = the name */
/* Tray tooltips. A resource module without them leaves the English texts. */
#define IDS_TIP_NO_ADAPTER              1073
#define IDS_TIP_DISCONNECTED            1074
#define IDS_TIP_CONNECTED               1075  /* printf format: %s network, %lu Mbps, %u signal */

#endif /* MONITOR_RESOURCE_H */
