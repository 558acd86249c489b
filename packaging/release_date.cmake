# zq_release_date(OUT VERSION): the day a release of the form YYYY.MM.DD
# names, written as the date line of a Debian changelog wants it
# ("Sat, 21 Jun 2025 12:00:00 +0000"; noon UTC, so that it is that day in
# every time zone a reader might convert it to).
function(zq_release_date out version)
  if(NOT version MATCHES "^([0-9][0-9][0-9][0-9])\\.([0-9][0-9])\\.([0-9][0-9])$")
    message(FATAL_ERROR "release ${version} is not of the form YYYY.MM.DD")
  endif()
  set(y ${CMAKE_MATCH_1})
  set(m ${CMAKE_MATCH_2})
  set(d ${CMAKE_MATCH_3})
  math(EXPR m "${m}")  # 06 -> 6, as an index
  math(EXPR d "${d}")
  if(m LESS 1 OR m GREATER 12 OR d LESS 1 OR d GREATER 31)
    message(FATAL_ERROR "release ${version} names no day")
  endif()
  # the weekday by the Gregorian rule, counted from Sunday: January and
  # February are reckoned to the year before, so that the leap day comes last
  set(shift 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR i "${m} - 1")
  list(GET shift ${i} s)
  set(yy ${y})
  if(m LESS 3)
    math(EXPR yy "${y} - 1")
  endif()
  math(EXPR w "(${yy} + ${yy} / 4 - ${yy} / 100 + ${yy} / 400 + ${s} + ${d}) % 7")
  set(days Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET days ${w} wd)
  list(GET months ${i} mn)
  if(d LESS 10)
    set(d "0${d}")
  endif()
  set(${out} "${wd}, ${d} ${mn} ${y} 12:00:00 +0000" PARENT_SCOPE)
endfunction()
