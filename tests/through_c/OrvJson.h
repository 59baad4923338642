// The test suite of the C++ interface, built a second time against the C++
// layer over the C interface: this folder comes first on the include path,
// so every "OrvJson.h" the tests include is the layer.
#include "orvjson.hpp"
