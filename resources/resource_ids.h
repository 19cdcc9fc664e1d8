// Resource ids shared by the resource script and the code.
#pragma once

#define IDS_APP_TITLE 128
#define IDS_EXE_NOT_FOUND 129
#define IDS_BTN_OK 130
#define IDS_BTN_CANCEL 131
#define IDS_BTN_YES 132
#define IDS_BTN_NO 133
#define IDS_BTN_RETRY 134
#define IDS_BTN_IGNORE 135
#define IDS_BTN_CONTINUE 136

#define IDI_APP 107
