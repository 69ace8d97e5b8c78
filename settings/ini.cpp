#include "settings/ini.h"
