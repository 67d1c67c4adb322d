#include "program/window/CPSTStraysweepApp.h"

// The program's one application object; the framework's entry point runs it.
CPSTStraysweepApp theApp;
