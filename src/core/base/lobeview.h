// Limits, codes, file names and the version text shared by every part of Lobeview.
#pragma once

namespace lobe {

inline constexpr int MAX_SAMPLES = 362;        // 360 one-degree points plus two spare slots
inline constexpr int MAX_ANTF_SAMPLES = 721;   // staging rows: an ANT V3 file has 720 values
inline constexpr int MAX_ENV_SAMPLES = 32;
inline constexpr int SIG_BUF_ANGLE = 0;
inline constexpr int SIG_BUF_SIGNAL = 1;
inline constexpr int MAX_FREQ = 12;
inline constexpr int MAX_CUTS = 8;
inline constexpr int MAX_ENVELOPES = 40;
inline constexpr float NO_SIG_DATA = 0.000111f;
inline constexpr int MAX_SWEEP_COUNT = 1000;
inline constexpr int MAX_BEARINGS = 360;
inline constexpr double RADN = 57.29577951;

// The angle written into the slot after a cut's last point.
inline constexpr float END_MARKER = 1024.0f;
// A level this far down or more is no reading: the charts leave a gap
// there, and no crossing or parameter is interpolated across it.
inline constexpr float GAP_LEVEL = 98.0f;
// First/last angle not yet given by the file being read.
inline constexpr float FSTLST_UNSET = 999.0f;

// file_type
inline constexpr int FT_PLANET = 1;
inline constexpr int FT_NSMA99 = 2;
inline constexpr int FT_ADF = 3;
inline constexpr int FT_NSMA89 = 4;
inline constexpr int FT_ANT = 5;
inline constexpr int FT_LABZ = 6;
inline constexpr int FT_4NEC = 7;

// ant_file_type
inline constexpr int AFT_ANT_V1 = 1;
inline constexpr int AFT_ANT_V2 = 2;
inline constexpr int AFT_ANT_V3 = 3;

// display_type
inline constexpr int DISPLAY_TYPE_POLAR = 1;
inline constexpr int DISPLAY_TYPE_RECT = 2;
inline constexpr int DISPLAY_TYPE_RECT90 = 3;
inline constexpr int DISPLAY_TYPE_EMR = 4;

// file_errors bits
inline constexpr int FILE_ERR_NOFREQ = 0x01;
inline constexpr int FILE_ERR_FSTLST = 0x02;

// Status bar fields
inline constexpr int STB_VERSION = 0;
inline constexpr int STB_ACTION = 1;
inline constexpr int STB_COM_PORT = 2;
inline constexpr int STB_DSA_CONN = 3;
inline constexpr int STB_PWR = 4;
inline constexpr int STB_FILENAME = 5;
inline constexpr int STB_ERROR = 6;

inline constexpr int CENTRE_DB_SET = 6;
inline constexpr int WINDOW_W = 1280;
inline constexpr int WINDOW_H = 820;

inline constexpr int PALETTE_SIZE = 28;

inline constexpr const char* LOBEVIEW_VERSION = "Version 12.2";
// The log and the palette file live in the user's documents folder,
// the envelope library and the help text in the working folder.
inline constexpr const char* LOBEVIEW_ERROR_FILE = "lobeview_log.txt";
inline constexpr const char* LOBEVIEW_ENVELOPE_FILE = "kwr_envelopes.csv";
inline constexpr const char* LOBEVIEW_PRIVATE_SETTINGS_FILE = "lobeview.ini";
inline constexpr const char* LOBEVIEW_HELP_FILE = "kwr_help.txt";

}  // namespace lobe
