// What a call of a pure virtual function runs. Only an object still being
// built or already being destroyed can make one, which is a fault in our
// code: stop there rather than go on with a broken object.
extern "C" void __cxa_pure_virtual() {
  __builtin_trap();
}
