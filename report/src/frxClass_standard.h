#pragma once
// Registers the classes every template may name (pages, bands, ...), once. The class
// registry calls it before its first lookup: a program that only loads templates names
// none of these classes in its code, and the linker would leave their files, with the
// registrations in them, out of the program.
void frxRegisterStandardClasses();
