#include "ui/app.h"

App app;
