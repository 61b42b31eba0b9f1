// Lies beside the Wine tests as a file of a system DLL's name could lie beside the program.
extern "C" __declspec(dllexport) int Planted() { return 1; }
