#include "app/startup.h"

int main(int argc, char** argv) { return lobe::run_lobeview(argc, argv); }
