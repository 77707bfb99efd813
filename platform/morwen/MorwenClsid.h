#pragma once
// The class of Morwen, the shell's context-menu item that hands files to Vantrel: Morwen
// registers it, and Quelmain names it under the shell's handler keys for files and folders.
#include <windows.h>

#define MORWEN_CLSID_TEXT "{3E34AFCA-9311-46B0-B636-E37F11044FCE}"

// {3E34AFCA-9311-46B0-B636-E37F11044FCE}
const CLSID CLSID_Morwen = {0x3e34afca, 0x9311, 0x46b0, {0xb6, 0x36, 0xe3, 0x7f, 0x11, 0x04, 0x4f, 0xce}};
