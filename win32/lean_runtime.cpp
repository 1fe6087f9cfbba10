// The program throws and catches nothing: it is built without exceptions,
// and running out of memory ends it, as an exception that nobody catches
// would. What libstdc++ would throw is ended here instead, so that its
// exception machinery (the unwinder, the threads library it locks with,
// the demangler and the strings and formatting of its exception messages)
// stays out of the file: that is most of a statically linked program's size.
#include <cstdlib>
#include <new>

// The allocation functions a program may replace: as the library's, but
// ending the program where those would throw std::bad_alloc.
void *operator new(std::size_t size)
{
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    std::abort();
}

void operator delete(void *memory) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

// Where the library's headers report an error without exceptions
// (<bits/functexcept.h>), for the ones the program's code reaches.
namespace std {

[[noreturn]] void __throw_bad_alloc()
{
    std::abort();
}

[[noreturn]] void __throw_bad_array_new_length()
{
    std::abort();
}

[[noreturn]] void __throw_length_error(const char *)
{
    std::abort();
}

} // namespace std
