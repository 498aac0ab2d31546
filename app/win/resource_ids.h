// Resource and control identifiers of Harrowdel, named after the designed
// names of the windows and their controls. Read by windres and by C++.
// Control IDs stay clear of 1001, the ID of a combo box's inner edit.
#pragma once

#define IDI_Harrowdel 1

#define IDD_Form1 100
#define IDD_frmOptions 101
#define IDD_frmConfBAT 102
#define IDD_frmPWconf 103
#define IDD_UpdSys 104
#define IDD_frmPrework 105

// Form1: the main window
#define IDC_Frame1 1100
#define IDC_Command4 1101
#define IDC_cmdSelFolderToSplit 1102
#define IDC_Command3 1103
#define IDC_UseCompression 1104
#define IDC_SaveBAT 1105
#define IDC_cmdCabOnly 1106
#define IDC_Command7 1107
#define IDC_Frame2 1108
#define IDC_Command5 1109
#define IDC_Command6 1110
#define IDC_Command8 1111
#define IDC_Frame3 1112
#define IDC_optPreset 1113
#define IDC_cmbPreset 1114
#define IDC_optAutofill 1115
#define IDC_CustomEnabled 1116
#define IDC_CustomSize 1117
#define IDC_CustSizeUnits 1118
#define IDC_FirstOverride 1119
#define IDC_FirstOverrideValue 1120
#define IDC_FOverrideUnits 1121
#define IDC_frameEnc 1122
#define IDC_UseEnc 1123
#define IDC_Passphrase 1124
#define IDC_frmRegen 1125
#define IDC_RegenFragBool 1126
#define IDC_RegenFragVal 1127
#define IDC_Light1 1128
#define IDC_Light2 1129
#define IDC_FileIndicator 1130
#define IDC_FolderIndicator 1131
#define IDC_Light3 1132
#define IDC_Light4 1133
#define IDC_ProgressBar1 1134
#define IDC_ProgressBar2 1135
#define IDC_cmdHelp 1136
#define IDC_cmdUserOptions 1137
#define IDC_Command2 1138
#define IDC_Image1 1139
#define IDC_lblFileIndicator 1140
#define IDC_lblFolderIndicator 1141
#define IDC_lblDropHint 1142
#define IDC_Label5 1143
#define IDC_lblOutcome1 1144
#define IDC_lblOutcome2 1145
#define IDC_UseRecovery 1146
#define IDC_RecoveryPercent 1147
#define IDC_lblRecoveryPercent 1148
#define IDC_lblRecoveryNote 1149
#define IDC_cmdVerify 1150

// frmOptions: Customize (Save is IDOK, Cancel IDCANCEL)
#define IDC_fraAppearance 1200
#define IDC_Label1 1201
#define IDC_cmbTheme 1202
#define IDC_lblThemeDesc 1203
#define IDC_Label2 1204
#define IDC_cmbLang 1205
#define IDC_fraMultimedia 1206
#define IDC_EnableCustomSounds 1207
#define IDC_lblMediaInst 1208
#define IDC_fraOther 1209
#define IDC_cmdConfBAT 1210
#define IDC_Command1 1211
#define IDC_Label3 1212

// frmConfBAT: Configure BAT Generator (Label1 as above; Save is IDOK,
// Cancel IDCANCEL)
#define IDC_fraInitialText 1300
#define IDC_txtIniText 1301
#define IDC_fraOtherOptions 1302
#define IDC_chkDecompress 1303
#define IDC_chkDelCabs 1304
#define IDC_cmdRestoreDefault 1305

// frmPWconf: the passphrase dialog (OK is IDOK, Cancel IDCANCEL)
#define IDC_lblPrompt 1400
#define IDC_txtPassword 1401

// UpdSys
#define IDC_lblUpdating 1500

// frmPrework
#define IDC_lblCapt 1600
#define IDC_PB 1601
