// A solver that imports from kmabsent.dll, which exists nowhere: the system
// cannot load it, and its first line never runs.
extern "C" void km_absent();

int main() {
  km_absent();
  return 0;
}
