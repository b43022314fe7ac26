// The core plug-in exports the BCD real-number functions of the library it links whole;
// including their declarations here keeps the plug-in's exported surface in one place.
#include "tavrel/bcd.h"
