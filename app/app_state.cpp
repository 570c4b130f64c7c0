#include "app/shared.h"

AppState* appState = nullptr;
