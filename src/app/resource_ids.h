// The ids of the dialogs' controls and of a message box's answers.
#pragma once

namespace lobe {

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

}  // namespace lobe
