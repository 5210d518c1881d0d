// Stands for a test or benchmark that this build flavour leaves out; never built.
int main() { return 0; }
