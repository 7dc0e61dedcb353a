# Writes the page's service worker (cmake -P): the template with the release's name, the version and a digest of
# every file it keeps, so that a new build of any of them is a new release to the browsers that have the old one.
#   -DPAGE=<page folder> -DTEMPLATE=<sw.js.in> -DVERSION=<version> -DFILES=<paths relative to the page>
set(digests "")
set(quoted "")
foreach(file IN LISTS FILES)
    file(SHA256 ${PAGE}/${file} digest)
    string(APPEND digests "${file} ${digest}\n")
    list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING ${digest} 0 12 digest)
set(RELEASE "${VERSION}+${digest}")
list(JOIN quoted ", " FILE_LIST)
configure_file(${TEMPLATE} ${PAGE}/sw.js @ONLY)
