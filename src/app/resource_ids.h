// Control, menu, dialog and bitmap ids of the main window, and the panel's
// id scheme. The values are fixed: scripts and users' habits depend on them.
#pragma once

namespace lobe {

inline constexpr int IDI_MYICON = 101;
inline constexpr int IDB_KWR = 102;
inline constexpr int IDB_SWEEP = 128;
inline constexpr int IDB_DELETE = 129;
inline constexpr int IDB_ZOOM = 130;
inline constexpr int IDB_TR_SHIFT = 131;
inline constexpr int IDB_BSWEEP = 132;
inline constexpr int IDB_BPAUSE = 133;
inline constexpr int ID_STATUSBAR = 140;
inline constexpr int IDT_TIMER1 = 399;

// Frame controls.
inline constexpr int IDC_RBUTTON_DESC = 300;
inline constexpr int IDC_RBUTTON_PERF = 301;
inline constexpr int IDC_PROG_BAR = 302;
inline constexpr int IDC_BUTTON_NEW = 311;
inline constexpr int IDC_BUTTON_NEW_FR = 312;
inline constexpr int IDC_RBUTTON_DB = 313;
inline constexpr int IDC_RBUTTON_MV = 314;
inline constexpr int IDC_BUTTON_ZOOM = 315;
inline constexpr int IDC_RBUTTON_LOG = 316;
inline constexpr int IDC_RBUTTON_LIN = 317;
inline constexpr int IDC_BUTTON_OPEN = 318;
inline constexpr int IDC_BUTTON_PRINT = 319;
inline constexpr int IDC_BUTTON_SAVE = 320;
inline constexpr int IDC_BUTTON_UNDO = 321;

// Header edits.
inline constexpr int IDC_PD_NAME = 322;
inline constexpr int IDC_PD_MAKE = 323;
inline constexpr int IDC_PD_PATTYP = 324;
inline constexpr int IDC_PD_COMNT1 = 325;
inline constexpr int IDC_PD_COMNT2 = 326;
inline constexpr int IDC_PD_PATNUM = 332;
inline constexpr int IDC_PD_FILNUM = 333;
inline constexpr int IDC_PD_FEDORN = 334;
inline constexpr int IDC_PD_LOWFRQ = 335;
inline constexpr int IDC_PD_HGHFRQ = 336;
inline constexpr int IDC_PD_GUNITS = 337;
inline constexpr int IDC_PD_LWGAIN = 338;
inline constexpr int IDC_PD_MDGAIN = 339;
inline constexpr int IDC_PD_HGGAIN = 340;
inline constexpr int IDC_PD_AZWIDT = 341;
inline constexpr int IDC_PD_ELWIDT = 342;
inline constexpr int IDC_PD_ATVSWR = 344;
inline constexpr int IDC_PD_FRTOBA = 345;
inline constexpr int IDC_PD_ELTILT = 346;
inline constexpr int IDC_PD_RADCTR = 347;
inline constexpr int IDC_PD_POTOPO = 348;
inline constexpr int IDC_PD_MAXPOW = 349;
inline constexpr int IDC_PD_CONTYP = 350;
inline constexpr int IDC_PD_DTDATA = 351;
inline constexpr int IDC_PD_ANTLEN = 352;
inline constexpr int IDC_PD_ANTWID = 353;
inline constexpr int IDC_PD_ANTDEP = 354;
inline constexpr int IDC_PD_ANTWGT = 355;
inline constexpr int IDC_PD_EPOWER = 360;
inline constexpr int IDC_PD_ELOSS = 361;
inline constexpr int IDC_PD_EHEIGHT = 362;
inline constexpr int IDC_BUTTON_EREF = 363;

// Per-row controls: base + panel line (frequency edits and Add Cut: + frequency).
inline constexpr int IDC_PD_PATFRE = 400;
inline constexpr int IDC_PD_PATCUT = 420;
inline constexpr int IDC_PD_POLARI = 520;
inline constexpr int IDC_PD_SHOWHIDE = 620;
inline constexpr int IDC_PD_SHOWHIDE_LAST = 720;
inline constexpr int IDC_PD_SWEEP = 720;
inline constexpr int IDC_PD_SWEEP_LAST = 820;
inline constexpr int IDC_PD_DELETE = 820;
inline constexpr int IDC_PD_DELETE_LAST = 920;
inline constexpr int IDC_PD_ADDCUT = 920;
inline constexpr int IDC_PD_ADDCUT_LAST = 940;
inline constexpr int IDC_PD_PLUS = 940;
inline constexpr int IDC_PD_PLUS_LAST = 1040;
inline constexpr int IDC_PD_MINUS = 1040;
inline constexpr int IDC_PD_MINUS_LAST = 1140;
inline constexpr int IDC_PD_MAVG = 1140;
inline constexpr int IDC_PD_MAVG_LAST = 1240;

// Menus.
inline constexpr int IDR_MYMENU = 4000;
inline constexpr int ID_FILE_OPEN = 4001;
inline constexpr int ID_FILE_PRINT = 4003;
inline constexpr int ID_LABS_SCALE_TO_MAX = 4004;
inline constexpr int ID_FILE_EXIT = 4005;
inline constexpr int ID_VIEW_EMR = 4007;
inline constexpr int ID_VIEW_POLAR = 4008;
inline constexpr int ID_VIEW_CART = 4009;
inline constexpr int ID_HELP_ABOUT = 4010;
inline constexpr int ID_HELP_FILE = 4011;
inline constexpr int ID_HELP_VIEW = 4012;
inline constexpr int ID_HELP_LABS = 4013;
inline constexpr int ID_VIEW_CART90 = 4014;
inline constexpr int ID_VIEW_PARAMETERS = 4015;
inline constexpr int ID_ENV_1 = 4020;
inline constexpr int ID_ENV_LIMIT = 4050;
inline constexpr int ID_COM_1 = 4050;
inline constexpr int ID_COM_LIMIT = 4090;
inline constexpr int ID_LABS_RESET_COLOURS = 4094;
inline constexpr int ID_LABS_SET_DSA_IP = 4095;
// The mirror commands (4090..4093) are declared with the cut editing.

// Dialogs and their controls.
inline constexpr int IDD_DESCR = 201;
inline constexpr int IDD_ANT_VER_SELECT = 202;
inline constexpr int IDD_4NEC_COL_SELECT = 203;
inline constexpr int IDD_DSA_IP = 204;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDNO = 7;
inline constexpr int IDYES = 6;
inline constexpr int IDC_ANT_V1 = 109;
inline constexpr int IDC_ANT_V2 = 110;
inline constexpr int IDC_ANT_V3 = 111;
inline constexpr int IDC_DLG_T_DSC1 = 112;
inline constexpr int IDC_DLG_D_DSC1 = 113;
inline constexpr int IDC_4NEC_L_A = 122;
inline constexpr int IDC_4NEC_L_S = 123;
inline constexpr int IDC_4NEC_T_A = 124;
inline constexpr int IDC_4NEC_T_S = 125;
inline constexpr int IDC_DLG_T_DSA_IP = 126;
inline constexpr int IDC_DLG_D_DSA_IP = 127;

// The panel's row controls, as the id scheme numbers them. A record of 12
// frequencies of 8 cuts needs lines up to 130; lines from 100 on would run
// into the next range, so they get ids of their own far above every range.
enum class row_control { patcut, polari, showhide, sweep, del, plus, minus, mavg };
int row_control_id(row_control kind, int line);
// The control kind and line of a row id; false for any other id.
bool decode_row_control(int id, row_control& kind, int& line);

}  // namespace lobe
