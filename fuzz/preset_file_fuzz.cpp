// libFuzzer target: any bytes given to the preset file reader.
#include <cstring>
