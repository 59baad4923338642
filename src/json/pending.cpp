// Operations whose behaviour is still to be built. Each keeps the document
// intact and reports failure where it has a result.
#include "COrvExtendJson.h"

void COrvExtendJson::SetValue(const char*, std::vector<double>&) {}
void COrvExtendJson::SetValue(const char*, std::vector<std::string>&) {}
void COrvExtendJson::SetValue(const char*, std::vector<int>&) {}
void COrvExtendJson::SetValue(const char*, std::vector<short>&) {}
void COrvExtendJson::SetValue(const char*, std::vector<unsigned char>&) {}
void COrvExtendJson::AddDoubleArray(const std::string&, std::vector<double>&) {}
void COrvExtendJson::AddIntArray(const std::string&, std::vector<int>&) {}
void COrvExtendJson::SetObjectArray(const char*, std::vector<COrvBaseJson*>&) {}
void COrvExtendJson::SetValue(const char*, COrvBaseJson*) {}

long COrvExtendJson::GetValue(int, COrvBaseJson*) { return -1; }
long COrvExtendJson::GetValue(int, double&) { return -1; }
long COrvExtendJson::GetValue(int, std::string&) { return -1; }
long COrvExtendJson::GetValue(int, float&) { return -1; }
long COrvExtendJson::GetValue(int, bool&) { return -1; }
long COrvExtendJson::GetValue(int, int&) { return -1; }
long COrvExtendJson::GetValue(int, short&) { return -1; }
long COrvExtendJson::GetIsNULL(int) { return -1; }

long COrvExtendJson::GetValue(const char*, unsigned int&) { return -1; }
long COrvExtendJson::GetValue(const char*, double&) { return -1; }
long COrvExtendJson::GetValue(const char*, std::string&) { return -1; }
long COrvExtendJson::GetValue(const char*, float&) { return -1; }
long COrvExtendJson::GetValue(const char*, bool&) { return -1; }
long COrvExtendJson::GetValue(const char*, int&) { return -1; }
long COrvExtendJson::GetIsNULL(const char*) { return -1; }

long COrvExtendJson::GetValue(const char*, std::vector<double>&) { return -1; }
long COrvExtendJson::GetValue(const char*, std::vector<int>&) { return -1; }
long COrvExtendJson::GetValue(const char*, std::vector<std::string>&) { return -1; }
long COrvExtendJson::GetValue(const char*, std::vector<short>&) { return -1; }
long COrvExtendJson::GetValue(const char*, std::vector<unsigned char>&) { return -1; }
long COrvExtendJson::GetObjectArray(const char*, std::vector<COrvBaseJson*>&) { return -1; }
long COrvExtendJson::GetValue(const char*, COrvBaseJson*) { return -1; }

long COrvExtendJson::GetTagCollect(OrvVector&) { return 0; }
long COrvExtendJson::GetArryItemType(std::string, int&) { return -1; }
long COrvExtendJson::GetItemType(int, int&) { return -1; }
long COrvExtendJson::GetArryItemType(int, int&) { return -1; }
