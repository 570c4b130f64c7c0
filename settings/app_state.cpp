#include "settings/shared.h"

AppState* appState = nullptr;
