#pragma once

// The log profile reader and writer belong to the data logger; start-up reads the default profile through it.
#include "logger/logprofile.h"
