// Resource ids of qorv.exe.
#pragma once

#define kIconMain 1
