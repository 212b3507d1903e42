int main() { return 1; }  // Being written.
