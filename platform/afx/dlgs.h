#pragma once
// The control IDs and template numbers of the common dialogs, as their documented header
// names them: the file and print dialogs' templates (platform/afx/commdlg.rc) use them, and
// so can code that finds a control of a shown dialog.
inline constexpr int FILEOPENORD = 1536, PRINTDLGORD = 1538;
inline constexpr int chx1 = 0x0410, chx2 = 0x0411;
inline constexpr int rad1 = 0x0420, rad2 = 0x0421, rad3 = 0x0422;
inline constexpr int grp1 = 0x0430, grp2 = 0x0431, grp3 = 0x0432;
inline constexpr int stc1 = 0x0440, stc2 = 0x0441, stc3 = 0x0442, stc4 = 0x0443, stc5 = 0x0444, stc6 = 0x0445,
                     stc7 = 0x0446, stc8 = 0x0447;
inline constexpr int lst1 = 0x0460, lst2 = 0x0461;
inline constexpr int cmb1 = 0x0470, cmb2 = 0x0471, cmb3 = 0x0472, cmb4 = 0x0473;
inline constexpr int edt1 = 0x0480, edt2 = 0x0481, edt3 = 0x0482;
