/* The preview window's own script. It runs beside the page's scripts but
   apart from them (a world of its own that shares only the document):

   remember() reads the page's file as soon as the page is shown, before
   the next rebuild replaces it.

   update(regions) brings the shown page up to date after a rebuild without
   loading it again. Each region is a stretch of markup inside one element,
   as it was in the page shown and as it is now (code page bytes, base64).
   The page as its file says, before any script changed it, is kept here as
   a document of its own: a region is found in it, checked against it, and
   only the nodes that differ are changed in the shown page, so what the
   page's scripts did to the rest (a search, opened answers) and the scroll
   position stay. Gives "updated", or "reload" when the page has to be
   loaded anew (a changed script, a region that is not where it should be).

   state() and restore(saved) keep what the reader did across a reload: the
   scroll position, the text of the search boxes (the page's script filters
   again when told the text changed) and which answers are open; settled()
   says when the restored page has stopped moving. */
(function () {
  "use strict";

  if (window.previewPage) {
    return;
  }

  // The page as its file says, and the shown node for each of its nodes:
  // null for one a script of the page took out.
  var pristine = null;
  var shownOf = new WeakMap();
  var LOOK_AHEAD = 64;

  function read() {
    var request = new XMLHttpRequest();
    request.open("GET", location.pathname, false);
    request.overrideMimeType("text/html; charset=" + document.characterSet);
    request.send();
    return request.status === 200 ? request.responseText : null;
  }

  function remember(lists) {
    if (pristine) {
      return true;
    }
    var text = read();
    if (text === null) {
      return false;
    }
    pristine = new DOMParser().parseFromString(text, "text/html");
    shownOf = new WeakMap();
    // Long lists are paired now, while the reader looks at the page, not
    // when the first change waits for it.
    (lists || []).forEach(function (path) {
      var list = walk(path);
      var shown = list && shownNode(list);
      if (shown && list.childNodes.length !== shown.childNodes.length) {
        align(list, shown);
      }
    });
    return true;
  }
  function decode(base64) {
    var binary = atob(base64);
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; i++) {
      bytes[i] = binary.charCodeAt(i);
    }
    return new TextDecoder(document.characterSet).decode(bytes);
  }

  function nodesOf(template) {
    return Array.prototype.slice.call(template.content.childNodes);
  }

  function parse(text) {
    var template = pristine.createElement("template");
    template.innerHTML = text;
    return nodesOf(template);
  }

  // The nodes of each of many stretches of markup. Taking an entry out
  // renumbers the anchors after it, a stretch each, and a parser for each
  // stretch cost more than the reading itself: they are read together, each
  // in a template of its own. A stretch that could end its template early
  // (a template tag, or an element left open that takes the rest as text)
  // shows in the count of templates, and each is then read apart.
  function parseAll(texts) {
    var wrappable = texts.every(function (text) {
      return !/<\/?template/i.test(text);
    });
    if (wrappable) {
      var holder = pristine.createElement("template");
      holder.innerHTML = "<template>" + texts.join("</template><template>") + "</template>";
      var parts = holder.content.childNodes;
      var whole =
        parts.length === texts.length &&
        Array.prototype.every.call(parts, function (part) {
          return part.localName === "template";
        });
      if (whole) {
        return Array.prototype.map.call(parts, nodesOf);
      }
    }
    return texts.map(parse);
  }

  function same(node, shown) {
    if (node.nodeType !== shown.nodeType || node.nodeName !== shown.nodeName) {
      return false;
    }
    if (node.nodeType === Node.ELEMENT_NODE) {
      return node.getAttribute("id") === shown.getAttribute("id");
    }
    return node.nodeValue === shown.nodeValue;
  }

  // Pairs the children of a node of the pristine page with those of its
  // shown node, past the nodes a script put in or took out.
  function align(parent, shownParent) {
    var nodes = Array.prototype.slice.call(parent.childNodes);
    var shown = Array.prototype.slice.call(shownParent.childNodes);
    var next = 0;
    for (var i = 0; i < nodes.length; i++) {
      var node = nodes[i];
      if (next < shown.length && same(node, shown[next])) {
        shownOf.set(node, shown[next++]);
        continue;
      }
      // Taken out, when the one after it lines up here
      if (i + 1 < nodes.length && next < shown.length && same(nodes[i + 1], shown[next])) {
        shownOf.set(node, null);
        continue;
      }
      var found = next + 1;
      var end = Math.min(shown.length, next + LOOK_AHEAD);
      while (found < end && !same(node, shown[found])) {
        found++;
      }
      if (found < end) {
        shownOf.set(node, shown[found]);
        next = found + 1;
      } else {
        shownOf.set(node, null);
      }
    }
  }

  function shownNode(node) {
    if (node === pristine.body) {
      return document.body;
    }
    var parent = node.parentNode;
    if (!parent || node === pristine.documentElement || node === pristine.head) {
      return null;
    }
    var shownParent = shownNode(parent);
    if (!shownParent) {
      return null;
    }
    var found = shownOf.get(node);
    if (found === undefined || (found !== null && found.parentNode !== shownParent)) {
      align(parent, shownParent);
      found = shownOf.get(node);
    }
    return found || null;
  }

  function holdsScript(node) {
    return (
      node.nodeType === Node.ELEMENT_NODE &&
      (node.localName === "script" || node.querySelector("script") !== null)
    );
  }

  // The shown node of the first of `node` and its next siblings that has one.
  function shownFrom(node, shownParent) {
    for (; node; node = node.nextSibling) {
      var shown = shownNode(node);
      if (shown && shown.parentNode === shownParent) {
        return shown;
      }
    }
    return null;
  }

  function pair(node, copy) {
    shownOf.set(node, copy);
    for (var a = node.firstChild, b = copy.firstChild; a; a = a.nextSibling, b = b.nextSibling) {
      pair(a, b);
    }
  }

  // Takes the shown node of `old` out of the shown page.
  function remove(old, shownParent) {
    if (holdsScript(old)) {
      return false;
    }
    var shown = shownNode(old);
    if (shown && shown.parentNode === shownParent) {
      shownParent.removeChild(shown);
    }
    return true;
  }

  // Puts a copy of `next` into the shown page before the shown node of
  // `following` or of the first sibling after it that has one.
  function insert(next, shownParent, following) {
    if (holdsScript(next)) {
      return false;
    }
    var copy = document.importNode(next, true);
    shownParent.insertBefore(copy, shownFrom(following, shownParent));
    pair(next, copy);
    return true;
  }

  function classesOf(value) {
    return value ? value.split(/\s+/).filter(Boolean) : [];
  }

  // Changes the attributes the file changed; those a script set stay, and
  // so do classes a script added.
  function patchAttributes(old, next, shown) {
    Array.prototype.forEach.call(next.attributes, function (attribute) {
      var before = old.getAttributeNS(attribute.namespaceURI, attribute.localName);
      if (before === attribute.value) {
        return;
      }
      if (attribute.name === "class") {
        var had = classesOf(before);
        var has = classesOf(attribute.value);
        had.forEach(function (name) {
          if (has.indexOf(name) < 0) {
            shown.classList.remove(name);
          }
        });
        has.forEach(function (name) {
          shown.classList.add(name);
        });
      } else {
        shown.setAttributeNS(attribute.namespaceURI, attribute.name, attribute.value);
      }
    });
    Array.prototype.forEach.call(old.attributes, function (attribute) {
      if (next.hasAttributeNS(attribute.namespaceURI, attribute.localName)) {
        return;
      }
      if (attribute.name === "class") {
        classesOf(attribute.value).forEach(function (name) {
          shown.classList.remove(name);
        });
      } else {
        shown.removeAttributeNS(attribute.namespaceURI, attribute.localName);
      }
    });
  }

  function carry(old, next) {
    shownOf.set(next, shownNode(old));
  }

  // Makes the shown node of `old` look like `next`.
  function morph(old, next) {
    if (old.isEqualNode(next)) {
      carry(old, next);
      return true;
    }
    var shown = shownNode(old);
    if (!shown) {
      // A script took it out; the new one may be one it keeps
      var shownParent = old.parentNode && shownNode(old.parentNode);
      return shownParent ? insert(next, shownParent, old.nextSibling) : false;
    }
    if (old.nodeType !== Node.ELEMENT_NODE) {
      shown.nodeValue = next.nodeValue;
      shownOf.set(next, shown);
      return true;
    }
    if (old.localName === "script" || old.localName === "template") {
      return false;
    }
    // An element that becomes empty or ceases to be (a question switched
    // off or on): the preview's engine matches :has() whenever it styles an
    // element but does not notice this, so the elements whose :has() rules
    // then match otherwise are styled anew.
    var near = old.hasChildNodes() !== next.hasChildNodes() ? around(shown) : null;
    var matched = near && near.map(hasMatches);
    patchAttributes(old, next, shown);
    shownOf.set(next, shown);
    var done = morphRun(
      old,
      Array.prototype.slice.call(old.childNodes),
      Array.prototype.slice.call(next.childNodes),
      null
    );
    (near || []).forEach(function (element, i) {
      if (hasMatches(element) !== matched[i]) {
        restyle(element);
      }
    });
    return done;
  }

  // The elements a rule may ask about `element` with :has(): those above
  // it and the ones before them.
  function around(element) {
    var near = [];
    for (var up = 0; up < 3 && element; up++, element = element.parentElement) {
      if (up) {
        near.push(element);
      }
      if (element.previousElementSibling) {
        near.push(element.previousElementSibling);
      }
    }
    return near;
  }

  var hasSelectors = null;

  // Which of the page's :has() rules `element` matches.
  function hasMatches(element) {
    if (!hasSelectors) {
      hasSelectors = [];
      var collect = function (rules) {
        Array.prototype.forEach.call(rules, function (rule) {
          if (rule.selectorText && rule.selectorText.indexOf(":has(") >= 0) {
            hasSelectors.push(rule.selectorText);
          } else if (rule.cssRules) {
            collect(rule.cssRules);
          }
        });
      };
      Array.prototype.forEach.call(document.styleSheets, function (sheet) {
        try {
          collect(sheet.cssRules);
        } catch (error) {
          // A style sheet from elsewhere keeps its rules to itself
        }
      });
    }
    return hasSelectors
      .map(function (selector) {
        return element.matches(selector) ? 1 : 0;
      })
      .join("");
  }

  // Has the engine style `element` anew, leaving no trace.
  function restyle(element) {
    var style = element.getAttribute("style");
    element.style.setProperty("--preview-restyle", "1");
    if (style === null) {
      element.removeAttribute("style");
    } else {
      element.setAttribute("style", style);
    }
  }

  // Where among `nodes`, shortly after `from` and before `until`, one alike
  // `node` is; -1 when none is.
  function ahead(node, nodes, from, until, alike) {
    var end = Math.min(until, from + LOOK_AHEAD);
    for (var i = from; i < end; i++) {
      if (alike(node, nodes[i])) {
        return i;
      }
    }
    return -1;
  }

  function equal(a, b) {
    return a.isEqualNode(b);
  }

  // Makes the shown nodes of `olds`, a run of the children of `parent` that
  // `following` comes after, look like `news`: what is alike stays, what
  // changed is changed in place (so the page's scripts keep what they know
  // of it), what went or came is taken out or put in.
  function morphRun(parent, olds, news, following) {
    var start = 0;
    while (start < olds.length && start < news.length && olds[start].isEqualNode(news[start])) {
      carry(olds[start], news[start]);
      start++;
    }
    var end = 0;
    while (
      end < olds.length - start &&
      end < news.length - start &&
      olds[olds.length - 1 - end].isEqualNode(news[news.length - 1 - end])
    ) {
      carry(olds[olds.length - 1 - end], news[news.length - 1 - end]);
      end++;
    }
    var shownParent = shownNode(parent);
    if (!shownParent) {
      return false;
    }
    var after = end ? olds[olds.length - end] : following;
    var i = start;
    var j = start;
    var oldEnd = olds.length - end;
    var newEnd = news.length - end;
    while (i < oldEnd || j < newEnd) {
      var old = i < oldEnd ? olds[i] : null;
      var next = j < newEnd ? news[j] : null;
      var ok = true;
      if (old && next && equal(old, next)) {
        carry(old, next);
        i++;
        j++;
        continue;
      }
      // The old nodes up to `found` went, or the new ones up to `put`
      // came, whichever is fewer; otherwise a node of the same name changed.
      var found = next ? ahead(next, olds, i + 1, oldEnd, equal) : -1;
      var put = old ? ahead(old, news, j + 1, newEnd, equal) : -1;
      if (found > 0 && (put < 0 || found - i < put - j)) {
        for (; ok && i < found; i++) {
          ok = remove(olds[i], shownParent);
        }
      } else if (next && (!old || put > 0)) {
        ok = insert(next, shownParent, old || after);
        j++;
      } else if (next && old.nodeType === next.nodeType && old.nodeName === next.nodeName) {
        ok = morph(old, next);
        i++;
        j++;
      } else {
        ok = remove(old, shownParent);
        i++;
      }
      if (!ok) {
        return false;
      }
    }
    return true;
  }

  // The shown element of the child at `index` of `parent`: found at once
  // when no script changed how many children the shown parent has.
  function shownChild(parent, index, shownParent) {
    var child = parent.children[index];
    var known = child ? shownOf.get(child) : undefined;
    if (!child || !shownParent || (known !== undefined && (!known || known.parentNode === shownParent))) {
      return known || null;
    }
    if (
      parent.childNodes.length === shownParent.childNodes.length &&
      parent.children.length === shownParent.children.length
    ) {
      var candidate = shownParent.children[index];
      if (candidate && same(child, candidate)) {
        shownOf.set(child, candidate);
        return candidate;
      }
    }
    return shownNode(child);
  }

  // The element at `path` below the body of the pristine page, paired with
  // its shown element on the way down.
  function walk(path) {
    var parent = pristine.body;
    var shown = document.body;
    for (var i = 0; parent && i < path.length; i++) {
      shown = shownChild(parent, path[i], shown);
      parent = parent.children[path[i]];
    }
    return parent || null;
  }

  // Pairs the nodes of a region with the shown nodes between the shown
  // elements around it, when they are alike one for one.
  function pairRun(parent, region, olds) {
    var shownParent = shownNode(parent);
    if (!shownParent) {
      return;
    }
    var after = region.after < 0 ? null : shownChild(parent, region.after, shownParent);
    var before = region.before < 0 ? null : shownChild(parent, region.before, shownParent);
    if ((region.after >= 0 && !after) || (region.before >= 0 && !before)) {
      return;
    }
    var shown = [];
    for (var node = after ? after.nextSibling : shownParent.firstChild; node && node !== before; ) {
      shown.push(node);
      node = node.nextSibling;
    }
    if (
      shown.length === olds.length &&
      olds.every(function (old, i) {
        return same(old, shown[i]);
      })
    ) {
      olds.forEach(function (old, i) {
        shownOf.set(old, shown[i]);
      });
    }
  }

  // The region's nodes in the pristine page, once they are what the shown
  // page was made from (`made`, read from its markup there); null otherwise.
  function find(region, made, news) {
    var parent = walk(region.path);
    if (!parent) {
      return null;
    }
    var after = region.after < 0 ? null : parent.children[region.after];
    var before = region.before < 0 ? null : parent.children[region.before];
    if ((region.after >= 0 && !after) || (region.before >= 0 && !before)) {
      return null;
    }
    var olds = [];
    for (var node = after ? after.nextSibling : parent.firstChild; node !== before; ) {
      if (!node) {
        return null;
      }
      olds.push(node);
      node = node.nextSibling;
    }
    pairRun(parent, region, olds);
    var matches =
      made.length === olds.length &&
      made.every(function (node, i) {
        return node.isEqualNode(olds[i]);
      });
    return matches ? { parent: parent, olds: olds, before: before, news: news } : null;
  }

  function update(regions) {
    if (!remember()) {
      return "reload";
    }
    var texts = [];
    regions.forEach(function (region) {
      texts.push(decode(region.shown), decode(region.next));
    });
    var parsed = parseAll(texts);
    var changes = [];
    for (var i = 0; i < regions.length; i++) {
      var change = find(regions[i], parsed[2 * i], parsed[2 * i + 1]);
      if (!change) {
        return "reload";
      }
      changes.push(change);
    }
    var unscripted = [];
    for (var j = 0; j < changes.length; j++) {
      var c = changes[j];
      var noscript = c.parent.closest ? c.parent.closest("noscript") : null;
      if (noscript) {
        if (unscripted.indexOf(noscript) < 0) {
          unscripted.push(noscript);
        }
      } else if (!morphRun(c.parent, c.olds, c.news, c.before)) {
        return "reload";
      }
      c.olds.forEach(function (node) {
        c.parent.removeChild(node);
      });
      c.news.forEach(function (node) {
        c.parent.insertBefore(node, c.before);
      });
    }
    return unscripted.every(rewriteUnscripted) ? "updated" : "reload";
  }

  // With scripts on, the shown page holds what a <noscript> says as one
  // text (the markup as written), where the page's file, read without
  // scripts, has nodes: the text is written anew from them. A page script
  // that took the <noscript> out (to show its markup) has to see the new
  // markup in a page loaded anew.
  function rewriteUnscripted(noscript) {
    var shown = shownNode(noscript);
    if (!shown) {
      return false;
    }
    shown.textContent = noscript.innerHTML;
    return true;
  }

  // A name for an element that finds it again in the reloaded page.
  function keyOf(element, index) {
    return element.id ? "#" + element.id : String(index);
  }

  function byKey(selector, action) {
    Array.prototype.forEach.call(document.querySelectorAll(selector), function (element, index) {
      action(element, keyOf(element, index));
    });
  }

  var STILL_FRAMES = 3;
  var MOST_SETTLING_FRAMES = 60;
  var settling = false;
  var TEXT_FIELDS = "input[type=search], input[type=text], input:not([type]), textarea";

  // The element with an id nearest the top of the window, to line up again
  // in a page whose parts take their height only once shown. Between two
  // entries the top of the window meets their container, taller than the
  // window, which keeps its place while they grow: the first smaller one
  // a little lower down is taken instead.
  function anchorNearTop() {
    var first = null;
    var lowest = Math.min(window.innerHeight / 2, 200);
    for (var y = 1; y <= lowest; y += 8) {
      var element = document.elementFromPoint(window.innerWidth / 2, y);
      while (element && !element.id) {
        element = element.parentElement;
      }
      if (!element || element === document.body || element === document.documentElement) {
        continue;
      }
      if (element.getBoundingClientRect().height < window.innerHeight) {
        return element;
      }
      first = first || element;
    }
    return first;
  }

  function state() {
    var saved = { x: window.scrollX, y: window.scrollY, fields: {}, open: {}, expanded: {} };
    byKey(TEXT_FIELDS, function (field, key) {
      if (field.value !== field.defaultValue) {
        saved.fields[key] = field.value;
      }
    });
    byKey("details", function (details, key) {
      saved.open[key] = details.open;
    });
    byKey("[aria-expanded]", function (element, key) {
      saved.expanded[key] = element.getAttribute("aria-expanded");
    });
    var anchor = anchorNearTop();
    if (anchor) {
      saved.anchor = { id: anchor.id, top: anchor.getBoundingClientRect().top };
    }
    return JSON.stringify(saved);
  }

  function restore(text) {
    var saved = JSON.parse(text);
    byKey(TEXT_FIELDS, function (field, key) {
      if (Object.prototype.hasOwnProperty.call(saved.fields, key)) {
        field.value = saved.fields[key];
        field.dispatchEvent(new Event("input", { bubbles: true }));
      }
    });
    byKey("details", function (details, key) {
      if (Object.prototype.hasOwnProperty.call(saved.open, key)) {
        details.open = saved.open[key];
      }
    });
    byKey("[aria-expanded]", function (element, key) {
      var was = saved.expanded[key];
      if (was && was !== element.getAttribute("aria-expanded") && element.localName !== "summary") {
        element.click();
      }
    });
    window.scrollTo(saved.x, saved.y);
    // Parts near the window take their real height a frame or two after
    // they come near it: the element that was at the top is lined up again
    // until it has stayed for a few frames.
    var frames = 0;
    var still = 0;
    var anchorOffset = function () {
      var anchor = saved.anchor && document.getElementById(saved.anchor.id);
      return anchor ? anchor.getBoundingClientRect().top - saved.anchor.top : 0;
    };
    var lineUp = function () {
      var off = anchorOffset();
      if (Math.abs(off) >= 1) {
        window.scrollBy(0, off);
        still = 0;
      } else {
        still++;
      }
      settling = still < STILL_FRAMES && ++frames < MOST_SETTLING_FRAMES;
      if (settling) {
        window.requestAnimationFrame(lineUp);
      }
    };
    window.scrollBy(0, anchorOffset());
    settling = true;
    window.requestAnimationFrame(lineUp);
    return true;
  }

  function settled() {
    return !settling;
  }

  window.previewPage = {
    update: update,
    remember: remember,
    state: state,
    restore: restore,
    settled: settled
  };
})();
