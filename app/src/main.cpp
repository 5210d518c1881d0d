#include "app/Tavrel.h"

int main(int argc, char** argv) { return RunTavrel(argc, argv); }
