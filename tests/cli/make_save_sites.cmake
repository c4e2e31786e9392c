# Sites for the save tests, under -DDIR from -DDATA:
#   site/, site_copy/  a site with includes written inc\conn.asp, virtual="/lib/util.asp",
#                      a\x.asp and A\X.ASP (case twins, as a site copied from a server that
#                      ignores case may hold), and unrelated conn.asp and util.asp beside its root
#   elsewhere/         an empty folder
#   linked/            a site whose inc/ is a symbolic link to outside_inc/, beside it
#   page2/             the HTML page with a NAME.bak that the site ships
#   twins/             INC/CONN.ASP and Index.ASP, spelled otherwise than the demo's names
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/elsewhere" "${DIR}/outside_inc" "${DIR}/linked" "${DIR}/page2" "${DIR}/twins/INC")
file(COPY "${DATA}/site/" DESTINATION "${DIR}/site")
file(COPY "${DATA}/site/" DESTINATION "${DIR}/site_copy")
file(WRITE "${DIR}/linked/index.asp" "<!--#include file=\"inc/conn.asp\"-->\r\n<%\r\nDim a\r\n%>\r\n")
file(WRITE "${DIR}/outside_inc/conn.asp" "<%\r\nDim outside\r\n%>\r\n")
file(CREATE_LINK "../outside_inc" "${DIR}/linked/inc" SYMBOLIC)
file(COPY "${DATA}/html_page.asp" DESTINATION "${DIR}/page2")
file(WRITE "${DIR}/page2/html_page.asp.bak" "shipped with the site\n")
file(WRITE "${DIR}/twins/INC/CONN.ASP" "old\n")
file(WRITE "${DIR}/twins/Index.ASP" "old\n")
