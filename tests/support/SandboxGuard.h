#pragma once
// True inside the Wine sandbox: the program runs from C:\Quelora and no drive Z: (the
// host's root) exists. Programs that delete for real check it before anything else.
bool InSandbox();
