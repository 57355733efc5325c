// Identifiers of the resources linked into Horlomat.exe.
#pragma once

#define IDI_HORLOMAT 1
#define IDC_HAND_POINTER 2
#define IDR_LOGO 3
#define IDD_ABOUT 4
