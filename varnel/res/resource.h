#pragma once

// Resource and control ids of the program.

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_TESSIK = 103;    // the query dialog with the combo box
inline constexpr int IDR_MAINFRAME = 128; // the program icon and the program name
inline constexpr int IDD_MAINDLG = 129;
inline constexpr int IDD_INPUT = 130; // the material name dialog

inline constexpr int IDC_ITEMS = 1000;   // combo box of IDD_TESSIK
inline constexpr int IDC_CONFIRM = 1001; // "确定" of IDD_INPUT and IDD_TESSIK
inline constexpr int IDC_NAME = 1002;    // edit box of IDD_INPUT

inline constexpr int ID_APP_ABOUT = 0xE140; // 57664
