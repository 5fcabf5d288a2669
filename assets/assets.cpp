#include "assets.h"

void zelvatronAssetsLinked() {}
