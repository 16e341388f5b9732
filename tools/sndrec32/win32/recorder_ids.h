// The recorder window's resources: ids shared by sndrec32.rc and the code.
#pragma once

#define IDD_RECORDER 100
#define IDC_FILE 1001
#define IDC_PICTURE 1002
#define IDC_PICTURE_NAME 1003
#define IDC_MICROPHONE_LABEL 1004
#define IDC_MICROPHONE 1005
#define IDC_STATUS 1006
#define IDC_TIME 1007
#define IDC_LEVEL_LABEL 1009
#define IDC_LEVEL 1008
#define IDC_RECORD 1010
#define IDC_STOP 1011
#define IDC_PLAY 1012
#define IDC_SAVE 1013
#define IDC_SKIP 1014
