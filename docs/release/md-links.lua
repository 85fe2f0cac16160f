-- Links between the Markdown documents point at their HTML pages in the
-- release packages: "file-formats.md#bands" becomes "file-formats.html#bands".
function Link(link)
  if not link.target:match("^%a[%w+.-]*:") then
    link.target = link.target:gsub("%.md$", ".html"):gsub("%.md#", ".html#")
  end
  return link
end
