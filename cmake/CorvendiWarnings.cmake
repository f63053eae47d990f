# Warnings every target of the project is built with.
function(corvendi_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                                             -Wnon-virtual-dtor -Wold-style-cast)
endfunction()
