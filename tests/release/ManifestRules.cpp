#include "ManifestRules.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace manifest {
namespace {

struct Element {
    std::string Name;                           // without a namespace prefix
    std::string Namespace;                      // the namespace the element is in, "" for none
    std::map<std::string, std::string> Attributes;   // by local name, without the xmlns declarations
    std::vector<std::string> Path;              // names of the enclosing elements, outermost first
    std::string Text;                           // character data directly inside, trimmed
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string LocalName(const std::string& qualified) {
    size_t colon = qualified.find(':');
    return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

std::string Prefix(const std::string& qualified) {
    size_t colon = qualified.find(':');
    return colon == std::string::npos ? std::string() : qualified.substr(0, colon);
}

// The namespace declarations in force: prefix ("" for the default) to name.
using Namespaces = std::map<std::string, std::string>;

// Reads the elements in document order; false with *error set when the text
// is not well formed.
bool ReadElements(const std::string& xml, std::vector<Element>* out, std::string* error) {
    std::vector<size_t> open;   // indexes into *out of the elements not yet closed
    std::vector<std::string> openNames;       // their qualified names, as the closing tags give them
    std::vector<Namespaces> scopes(1);        // the declarations in force inside each open element
    size_t i = 0;
    while (i < xml.size()) {
        size_t lt = xml.find('<', i);
        std::string text = xml.substr(i, (lt == std::string::npos ? xml.size() : lt) - i);
        if (!open.empty()) (*out)[open.back()].Text += text;
        else if (!Trim(text).empty()) return *error = "text outside the root element", false;
        if (lt == std::string::npos) break;
        if (xml.compare(lt, 4, "<!--") == 0) {
            size_t end = xml.find("-->", lt + 4);
            if (end == std::string::npos) return *error = "a comment is not closed", false;
            i = end + 3;
            continue;
        }
        if (xml.compare(lt, 2, "<?") == 0) {
            size_t end = xml.find("?>", lt + 2);
            if (end == std::string::npos) return *error = "a declaration is not closed", false;
            i = end + 2;
            continue;
        }
        size_t gt = lt + 1;
        char quote = 0;
        for (; gt < xml.size() && (quote || xml[gt] != '>'); ++gt)
            if (xml[gt] == '"' || xml[gt] == '\'') quote = quote == xml[gt] ? 0 : (quote ? quote : xml[gt]);
        if (gt >= xml.size()) return *error = "a tag is not closed", false;
        std::string tag = xml.substr(lt + 1, gt - lt - 1);
        i = gt + 1;
        if (!tag.empty() && tag[0] == '/') {
            std::string name = Trim(tag.substr(1));
            if (open.empty() || openNames.back() != name) return *error = "</" + name + "> closes nothing open", false;
            (*out)[open.back()].Text = Trim((*out)[open.back()].Text);
            open.pop_back();
            openNames.pop_back();
            scopes.pop_back();
            continue;
        }
        bool selfClosing = !tag.empty() && tag.back() == '/';
        if (selfClosing) tag.pop_back();
        Element e;
        size_t p = 0;
        while (p < tag.size() && !std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
        const std::string qualified = tag.substr(0, p);
        e.Name = LocalName(qualified);
        if (e.Name.empty()) return *error = "a tag without a name", false;
        Namespaces scope = scopes.back();
        while (true) {
            while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) ++p;
            if (p >= tag.size()) break;
            size_t eq = tag.find('=', p);
            if (eq == std::string::npos) return *error = "<" + e.Name + "> has an attribute without a value", false;
            const std::string attribute = Trim(tag.substr(p, eq - p));
            std::string name = LocalName(attribute);
            size_t q = eq + 1;
            while (q < tag.size() && std::isspace(static_cast<unsigned char>(tag[q]))) ++q;
            if (q >= tag.size() || (tag[q] != '"' && tag[q] != '\''))
                return *error = "<" + e.Name + "> has an unquoted attribute " + name, false;
            size_t end = tag.find(tag[q], q + 1);
            if (end == std::string::npos) return *error = "<" + e.Name + "> has an unclosed quote", false;
            const std::string value = tag.substr(q + 1, end - q - 1);
            if (attribute == "xmlns") scope[""] = value;
            else if (Prefix(attribute) == "xmlns") scope[name] = value;
            else e.Attributes[name] = value;
            p = end + 1;
        }
        // The element's namespace: that of its prefix, else the default in
        // force. A prefix that nothing declares makes the text unreadable.
        auto ns = scope.find(Prefix(qualified));
        if (ns != scope.end()) e.Namespace = ns->second;
        else if (!Prefix(qualified).empty()) return *error = "<" + qualified + "> has an undeclared prefix", false;
        for (size_t k : open) e.Path.push_back((*out)[k].Name);
        if (open.empty() && !out->empty()) return *error = "a second root element <" + e.Name + ">", false;
        out->push_back(e);
        if (!selfClosing) {
            open.push_back(out->size() - 1);
            openNames.push_back(qualified);
            scopes.push_back(scope);
        }
    }
    if (!open.empty()) return *error = "<" + (*out)[open.back()].Name + "> is not closed", false;
    if (out->empty()) return *error = "no element", false;
    return true;
}

bool Within(const Element& e, const std::vector<std::string>& path) { return e.Path == path; }

// The namespaces Windows reads the entries in: an entry in another one is
// not that entry, whatever its name.
const char kAsmV1[] = "urn:schemas-microsoft-com:asm.v1";
const char kAsmV2[] = "urn:schemas-microsoft-com:asm.v2";
const char kAsmV3[] = "urn:schemas-microsoft-com:asm.v3";
const char kCompatibility[] = "urn:schemas-microsoft-com:compatibility.v1";
const char kSettings2005[] = "http://schemas.microsoft.com/SMI/2005/WindowsSettings";
const char kSettings2016[] = "http://schemas.microsoft.com/SMI/2016/WindowsSettings";

std::string Attribute(const Element& e, const std::string& name) {
    auto it = e.Attributes.find(name);
    return it == e.Attributes.end() ? std::string() : it->second;
}

struct Os {
    const char* Name;
    const char* Id;
};
const Os kSupportedOs[] = {
    {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
    {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
    {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
    {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
};

}  // namespace

std::vector<std::string> Problems(const std::string& xml) {
    std::vector<Element> elements;
    std::string error;
    if (!ReadElements(xml, &elements, &error)) return {"not well formed: " + error};
    std::vector<std::string> problems;
    // A root that is not the assembly is not a manifest at all: nothing else
    // is read.
    if (elements[0].Name != "assembly" || elements[0].Namespace != kAsmV1 ||
        Attribute(elements[0], "manifestVersion") != "1.0")
        return {std::string("the root is not <assembly manifestVersion=\"1.0\"> in ") + kAsmV1};

    bool controls = false, asInvoker = false, dpiAware = false, dpiUnaware = false;
    std::vector<std::string> osIds;
    for (const Element& e : elements) {
        if (e.Name == "assemblyIdentity" && e.Namespace == kAsmV1 &&
            Within(e, {"assembly", "dependency", "dependentAssembly"}) &&
            Attribute(e, "name") == "Microsoft.Windows.Common-Controls")
            controls = Attribute(e, "version") == "6.0.0.0" && Lower(Attribute(e, "publicKeyToken")) == "6595b64144ccf1df" &&
                       Attribute(e, "type") == "win32";
        if (e.Name == "supportedOS" && e.Namespace == kCompatibility && Within(e, {"assembly", "compatibility", "application"}))
            osIds.push_back(Lower(Attribute(e, "Id")));
        if (e.Name == "requestedExecutionLevel" && (e.Namespace == kAsmV2 || e.Namespace == kAsmV3) &&
            Within(e, {"assembly", "trustInfo", "security", "requestedPrivileges"}))
            asInvoker = Attribute(e, "level") == "asInvoker" && Attribute(e, "uiAccess") != "true";
        // dpiAware "true" (system aware; "true/pm" per monitor), which every
        // system from Windows 7 on reads; a dpiAwareness, which Windows 10
        // reads first, must not take it back.
        if (Within(e, {"assembly", "application", "windowsSettings"})) {
            std::string value = Lower(Trim(e.Text));
            if (e.Name == "dpiAware" && e.Namespace == kSettings2005) {
                if (value == "true" || value == "true/pm" || value == "per monitor") dpiAware = true;
                else dpiUnaware = true;
            }
            if (e.Name == "dpiAwareness" && e.Namespace == kSettings2016 &&
                (value.empty() || value.find("unaware") != std::string::npos))
                dpiUnaware = true;
        }
    }
    if (!controls) problems.push_back("no dependency on Microsoft.Windows.Common-Controls 6.0.0.0 (visual styles)");
    for (const Os& os : kSupportedOs)
        if (std::find(osIds.begin(), osIds.end(), os.Id) == osIds.end())
            problems.push_back(std::string("no supportedOS ") + os.Name + " " + os.Id);
    if (!asInvoker) problems.push_back("no requestedExecutionLevel asInvoker");
    if (!dpiAware || dpiUnaware)
        problems.push_back(std::string("not DPI aware (dpiAware true in ") + kSettings2005 +
                           ", and no dpiAware or dpiAwareness saying otherwise)");
    return problems;
}

}  // namespace manifest
