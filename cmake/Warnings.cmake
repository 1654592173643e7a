add_compile_options(-Wall -Wextra)
if(SUITE_WERROR)
  add_compile_options(-Werror)
endif()
