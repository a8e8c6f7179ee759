/* Brindlewick FAQ page: the search box.
   As the reader types, the entries that do not hold every word of the text,
   in their question or their answer and in any order, are hidden together
   with their links in the question list, and once the typing pauses a line
   beside the box says how many are left. Upper and lower case, full-width
   and half-width forms, and hiragana and katakana count as the same.

   Text that an input method is still converting is not searched: the page
   waits for the conversion to end, so the reading typed on the way to a
   word in kanji does not empty the list. Half-width kana take their voiced
   marks as the next letter, so a last half-width ha also finds ba and pa
   until the mark arrives.

   A keystroke only compares strings and changes the entries whose state
   changes. The entries' text is made comparable a little at a time once
   the page has loaded, or at once when the box is used first.

   A page of more entries than data-many (1500 unless it says) shows what
   the search finds in a list of its own, put before the page's list while
   that one is set aside: the entries that match move there, the first
   ones at once and the rest as the reader scrolls down to them. Each
   keystroke then touches about as many entries as fit on a few screens,
   however many the page holds. When the box is cleared, that list shows
   every entry from the first at once, and once the reader has stopped
   typing for a moment the entries go back to their places and the page's
   list comes back whole.

   The box is in the page from the start, so nothing moves when this script
   runs; the page hides it when scripts are off (a style in <noscript>). A
   box written with the hidden attribute is shown here, as before.

   The element with the class "search" says where things are, by selectors:
     data-entry     an entry: everything drawn for one question
     data-question  the question inside an entry
     data-answer    the answer inside an entry
     data-toc       a link of the question list, in the order of the entries
     data-list      the question list as a whole (the link's nearest one)
     data-found     the line when some entries match; "{n}" becomes the number
     data-none      the line when none does
     data-many      the number of entries above which found entries move
   Entries and links that are not shown get the class "search-miss", and so
   does the list when nothing matches; the style sheet hides them. Questions
   and links get their number among the entries as --faq-number, for style
   sheets that hide a missing entry with display: none and still want its
   counter to keep the number (on a page of many entries, the questions of
   the entries that move).

   An entry whose question is empty (switched off in Brindlewick) is never
   searched, shown or counted. An entry that is a <details> element opens
   when its answer comes to hold a word of the text and no more than 100
   entries match, and closes again when that is no longer so or the box is
   cleared, unless it was open before. An address that leads to an entry
   the search hides clears the box, and an address to an entry is followed
   again once the page around it has been laid out, so that it lands
   exactly. */
(function () {
  "use strict";

  var MISS = "search-miss";
  var KATAKANA_RUNS = /[\u30a1-\u30f6]+/g;
  var UPPER = /[A-Z]/;
  // Runs of what NFKC may change: beyond ASCII, kana, CJK punctuation and kanji
  var UNUSUAL_RUNS = /[^\u0020-\u007e\u3001-\u3002\u3041-\u3096\u30a1-\u30fa\u30fc\u4e00-\u9fff]+/g;
  // A half-width kana at the end of the text, before its voiced mark comes
  var LAST_HALF_WIDTH_KANA = /[\uff66-\uff9d]$/;
  var PAUSE_MS = 600;
  var OPEN_AT_MOST = 100;
  var PAGE = 40;
  var CHUNK = 500;
  var HOME_AFTER_MS = 1500;

  var box = document.querySelector(".search");
  if (!box) {
    return;
  }
  var input = box.querySelector("input");
  var status = box.querySelector(".search-status");
  if (!input || typeof String.prototype.normalize !== "function" || !window.WeakMap) {
    box.hidden = true;
    return;
  }

  function setting(name, fallback) {
    var value = box.getAttribute("data-" + name);
    return value ? value : fallback;
  }

  function normalizeRun(run) {
    return run.normalize("NFKC");
  }

  function hiraganaRun(run) {
    var codes = new Array(run.length);
    for (var i = 0; i < run.length; i++) {
      codes[i] = run.charCodeAt(i) - 0x60;
    }
    return String.fromCharCode.apply(null, codes);
  }

  // The form of a text that searching compares: NFKC makes full-width Latin
  // letters and digits half-width and half-width katakana full-width (with
  // their voiced marks joined), then case and katakana are folded. Only the
  // runs of letters that need a step go through it: most of an FAQ needs
  // none.
  function fold(text) {
    text = text.replace(UNUSUAL_RUNS, normalizeRun);
    if (UPPER.test(text)) {
      text = text.toLowerCase();
    }
    return text.replace(KATAKANA_RUNS, hiraganaRun);
  }

  // The letters a last letter may still become: ha, ba and pa for ha.
  function withVoicedMarks(letter) {
    var letters = [letter];
    ["\u3099", "\u309a"].forEach(function (mark) {
      var joined = (letter + mark).normalize("NFC");
      if (joined.length === 1) {
        letters.push(joined);
      }
    });
    return letters;
  }

  // The words of the box, each as the strings any of which it may match.
  function wordsOf(value) {
    var words = fold(value.normalize("NFKC"))
      .split(/\s+/)
      .filter(function (word) {
        return word !== "";
      });
    var last = words.length - 1;
    if (last >= 0 && LAST_HALF_WIDTH_KANA.test(value.replace(/\s+$/, ""))) {
      var stem = words[last].slice(0, -1);
      words[last] = withVoicedMarks(words[last].slice(-1)).map(function (letter) {
        return stem + letter;
      });
    }
    return words.map(function (word) {
      return typeof word === "string" ? [word] : word;
    });
  }

  function holds(text, forms) {
    for (var i = 0; i < forms.length; i++) {
      if (text.indexOf(forms[i]) !== -1) {
        return true;
      }
    }
    return false;
  }

  // Empty as CSS :empty sees it, which is how the designs hide an entry.
  function isEmpty(element) {
    return !element || !element.firstChild;
  }

  function all(selector) {
    return Array.prototype.slice.call(document.querySelectorAll(selector));
  }

  function later(work) {
    if (window.requestIdleCallback) {
      window.requestIdleCallback(work, { timeout: 500 });
    } else {
      window.setTimeout(work, 50);
    }
  }

  // The entries, found once the page has loaded and been idle for a moment;
  // their text is made comparable in chunks while the page is idle, or all
  // at once when the box needs it first.
  var entries = null;
  var entryOf = new WeakMap();
  var list = null;
  var folded = 0;
  var many = false;

  function findEntries() {
    entries = [];
    all(setting("entry", ".qa")).forEach(function (element) {
      var question = element.querySelector(setting("question", ".question"));
      if (isEmpty(question)) {
        return;
      }
      var entry = {
        element: element,
        questionElement: question,
        question: "",
        answer: "",
        link: null,
        shown: true,
        details: element.tagName === "DETAILS" ? element : null,
        inAnswer: false,
        openedHere: false,
        number: entries.length + 1,
        numbered: false,
        placeholder: null,
        moved: false,
        wanted: 0
      };
      entries.push(entry);
      entryOf.set(element, entry);
    });
    findLinks();
    many = entries.length > Number(setting("many", "1500")) && !!window.IntersectionObserver;
    if (!many) {
      entries.forEach(number);
    }
    matched = entries.slice();
  }

  // The list holds the questions in the same order as the entries. A page
  // may build its list only when the reader opens it: the links are looked
  // for again then, and take the state of their entries.
  function findLinks() {
    var links = all(setting("toc", ".toc-list a")).filter(function (link) {
      return !isEmpty(link);
    });
    if (!links.length || links.length !== entries.length || entries[0].link === links[0]) {
      return;
    }
    links.forEach(function (link, i) {
      var entry = entries[i];
      entry.link = link;
      if (entry.numbered) {
        link.style.setProperty("--faq-number", String(entry.number));
      }
      if (!entry.shown) {
        link.classList.add(MISS);
      }
    });
    list = links[0].closest(setting("list", ".toc"));
    if (list) {
      list.classList.toggle(MISS, searching && matched.length === 0);
    }
  }

  function number(entry) {
    if (!entry.numbered) {
      entry.numbered = true;
      entry.questionElement.style.setProperty("--faq-number", String(entry.number));
      if (entry.link) {
        entry.link.style.setProperty("--faq-number", String(entry.number));
      }
    }
  }

  function foldUpTo(end) {
    for (; folded < end; folded++) {
      var entry = entries[folded];
      var answer = entry.element.querySelector(setting("answer", ".answer"));
      entry.question = fold(entry.questionElement.textContent);
      entry.answer = answer ? fold(answer.textContent) : "";
    }
  }

  function ready() {
    if (!entries) {
      findEntries();
    }
    foldUpTo(entries.length);
  }

  function prepareWhileIdle() {
    if (!entries) {
      findEntries();
    }
    foldUpTo(Math.min(folded + CHUNK, entries.length));
    if (folded < entries.length) {
      later(prepareWhileIdle);
    }
  }

  var found = setting("found", "{n}\u4ef6\u306e\u8cea\u554f\u304c\u898b\u3064\u304b\u308a\u307e\u3057\u305f");
  var none = setting("none", "\u8a72\u5f53\u3059\u308b\u8cea\u554f\u306f\u3042\u308a\u307e\u305b\u3093");
  var lastQuery = "[]";
  var searching = false;
  var composing = false;
  var announcement = 0;
  var currentWords = [];
  var matched = [];

  // Opens an entry when its answer comes to hold the text and closes it when
  // the answer no longer does, if it was this that opened it. Between the
  // two the reader may open and close it as usual.
  function followAnswer(entry, inAnswer) {
    if (!entry.details || inAnswer === entry.inAnswer) {
      return;
    }
    entry.inAnswer = inAnswer;
    var details = entry.details;
    if (inAnswer) {
      if (!details.open) {
        entry.openedHere = true;
        details.open = true;
      }
    } else if (entry.openedHere) {
      entry.openedHere = false;
      details.open = false;
    }
  }

  function matches(entry, words) {
    for (var i = 0; i < words.length; i++) {
      if (!holds(entry.question, words[i]) && !holds(entry.answer, words[i])) {
        return false;
      }
    }
    return true;
  }

  function answerHolds(entry, words) {
    for (var i = 0; i < words.length; i++) {
      if (holds(entry.answer, words[i])) {
        return true;
      }
    }
    return false;
  }

  function opensIn(entry) {
    return (
      searching && matched.length <= OPEN_AT_MOST && entry.shown && answerHolds(entry, currentWords)
    );
  }

  // Says the count once the reader stops typing, so a screen reader speaks
  // one line instead of one per keystroke.
  function announce(line) {
    if (!status) {
      return;
    }
    window.clearTimeout(announcement);
    announcement = window.setTimeout(
      function () {
        if (status.textContent !== line) {
          status.textContent = line;
        }
      },
      line === "" ? 0 : PAUSE_MS
    );
  }

  /* The list of found entries, on a page of many. The page's own list (home)
     is set aside (display: none), so that the browser spends nothing on its
     thousands of entries while the reader types; an entry that moves leaves
     a mark in its place to come back to. */
  var home = null;
  var homeStyle = null;
  var shelf = null;
  var edge = null;
  var onShelf = [];
  var wantedMark = 0;
  var homecoming = 0;

  function buildShelf() {
    home = entries[0].element.parentNode;
    shelf = home.cloneNode(false);
    shelf.removeAttribute("id");
    shelf.style.display = "none";
    home.parentNode.insertBefore(shelf, home);
    edge = document.createElement("div");
    edge.setAttribute("aria-hidden", "true");
    home.parentNode.insertBefore(edge, home);
    new IntersectionObserver(
      function (seen) {
        if (seen[seen.length - 1].isIntersecting) {
          window.requestAnimationFrame(showMore);
        }
      },
      { rootMargin: "0px 0px 100% 0px" }
    ).observe(edge);
  }

  function setHomeAside(aside) {
    if (aside === (homeStyle !== null)) {
      return;
    }
    if (aside) {
      homeStyle = home.getAttribute("style") || "";
      home.style.setProperty("display", "none", "important");
    } else {
      if (homeStyle) {
        home.setAttribute("style", homeStyle);
      } else {
        home.removeAttribute("style");
      }
      homeStyle = null;
    }
    shelf.style.display = aside ? "" : "none";
  }

  function moveBack(entry) {
    entry.placeholder.parentNode.replaceChild(entry.element, entry.placeholder);
    entry.moved = false;
    followAnswer(entry, false);
  }

  // Makes the shelf hold ENTRIES, in page order: those that stay stay, the
  // others go back home, and the new ones come in between.
  function shelve(wanted) {
    wantedMark++;
    wanted.forEach(function (entry) {
      entry.wanted = wantedMark;
    });
    onShelf.forEach(function (entry) {
      if (entry.wanted !== wantedMark) {
        moveBack(entry);
      }
    });
    var next = shelf.firstChild;
    wanted.forEach(function (entry) {
      if (entry.moved) {
        next = entry.element.nextSibling;
      } else {
        if (!entry.placeholder) {
          entry.placeholder = document.createComment("");
        }
        number(entry);
        entry.element.parentNode.replaceChild(entry.placeholder, entry.element);
        shelf.insertBefore(entry.element, next);
        entry.moved = true;
      }
      followAnswer(entry, opensIn(entry));
    });
    onShelf = wanted;
  }

  function showMore() {
    if (!many || homeStyle === null || onShelf.length >= matched.length) {
      return;
    }
    var rect = edge.getBoundingClientRect();
    if (rect.top > window.innerHeight * 2) {
      return;
    }
    shelve(matched.slice(0, onShelf.length + PAGE));
    window.requestAnimationFrame(showMore);
  }

  // Every entry back in its place, the page's list whole again
  function bringHome() {
    window.clearTimeout(homecoming);
    if (shelf && homeStyle !== null) {
      shelve([]);
      setHomeAside(false);
    }
  }

  // The found entries on the shelf, the first at once. The page's list is
  // set aside as soon as the box has the focus, so that typing does not
  // wait for it, and comes back once the box is empty and has lost it.
  function showFound() {
    if (!many) {
      return;
    }
    if (!shelf) {
      buildShelf();
    }
    window.clearTimeout(homecoming);
    setHomeAside(true);
    shelve(matched.slice(0, PAGE));
    window.requestAnimationFrame(showMore);
    if (!searching && document.activeElement !== input) {
      homecoming = window.setTimeout(function () {
        later(function () {
          if (!searching && document.activeElement !== input) {
            bringHome();
          }
        });
      }, HOME_AFTER_MS);
    }
  }

  function apply() {
    if (composing) {
      return;
    }
    var words = wordsOf(input.value);
    var query = JSON.stringify(words);
    if (query === lastQuery) {
      return;
    }
    lastQuery = query;
    searching = words.length > 0;
    currentWords = words;
    ready();
    matched = [];
    for (var i = 0; i < entries.length; i++) {
      var entry = entries[i];
      var shown = matches(entry, words);
      if (shown !== entry.shown) {
        entry.shown = shown;
        if (!many) {
          entry.element.classList.toggle(MISS, !shown);
        }
        if (entry.link) {
          entry.link.classList.toggle(MISS, !shown);
        }
      }
      if (shown) {
        matched.push(entry);
      }
    }
    if (many) {
      // An empty box matches every entry
      if (searching || homeStyle !== null || document.activeElement === input) {
        showFound();
      }
    } else {
      for (var j = 0; j < entries.length; j++) {
        followAnswer(entries[j], opensIn(entries[j]));
      }
    }
    if (list) {
      list.classList.toggle(MISS, matched.length === 0);
    }
    announce(!searching ? "" : matched.length ? found.replace("{n}", String(matched.length)) : none);
  }

  function clear() {
    input.value = "";
    apply();
  }

  input.addEventListener("compositionstart", function () {
    composing = true;
  });
  input.addEventListener("compositionend", function () {
    composing = false;
    apply();
  });
  input.addEventListener("input", function (event) {
    if (!event.isComposing) {
      apply();
    }
  });
  // Escape in the box, or its clear button where the browser draws one
  input.addEventListener("search", apply);
  input.addEventListener("keydown", function (event) {
    if ((event.key === "Escape" || event.key === "Esc") && input.value !== "" && !composing) {
      event.preventDefault();
      clear();
    }
  });
  input.addEventListener("focus", function () {
    ready();
    showFound();
  });
  input.addEventListener("blur", function () {
    if (many && !searching && homeStyle !== null) {
      showFound();
    }
  });

  // An entry the reader closes, or opens or closes with every other, keeps
  // that state when the text changes or is cleared.
  document.addEventListener(
    "toggle",
    function (event) {
      var entry = entryOf.get(event.target);
      if (entry && entry.openedHere && !entry.details.open) {
        entry.openedHere = false;
      } else if (!entry && entries) {
        // perhaps the question list, built as it opens
        window.setTimeout(findLinks, 0);
      }
    },
    true
  );
  document.addEventListener("click", function (event) {
    var button = event.target && event.target.closest ? event.target.closest("button") : null;
    if (button && button.hasAttribute("data-faq") && entries) {
      entries.forEach(function (entry) {
        entry.openedHere = false;
      });
    }
  });

  function targetOfAddress() {
    var id = location.hash.replace(/^#/, "");
    if (!id) {
      return null;
    }
    try {
      id = decodeURIComponent(id);
    } catch (e) {
      // keep it as it is
    }
    return document.getElementById(id);
  }

  // Entries far from the screen are laid out only when they come near it,
  // so an entry reached by an address can move a little as those around it
  // take their real height: it is lined up again once they have.
  function lineUp(target) {
    window.requestAnimationFrame(function () {
      window.requestAnimationFrame(function () {
        var top = target.getBoundingClientRect().top;
        var margin = parseFloat(window.getComputedStyle(target).scrollMarginTop) || 0;
        if (Math.abs(top - margin) > 1) {
          target.scrollIntoView({ block: "start" });
        }
      });
    });
  }

  function isHidden(target) {
    return !!(target.closest("." + MISS) || (homeStyle !== null && home.contains(target)));
  }

  // An address that leads to a hidden entry shows every entry again
  function followAddress() {
    var target = targetOfAddress();
    if (!target) {
      return;
    }
    if (isHidden(target)) {
      if (searching) {
        clear();
      }
      bringHome();
      target.scrollIntoView({ block: "start" });
    }
    lineUp(target);
  }
  window.addEventListener("hashchange", followAddress);
  window.addEventListener("load", function () {
    var target = targetOfAddress();
    if (target) {
      lineUp(target);
    }
    // Out of the way of whatever the page still does after loading
    window.setTimeout(function () {
      later(prepareWhileIdle);
    }, 1000);
  });

  // A text the browser put back into the box (going back to the page)
  window.addEventListener("pageshow", apply);

  box.hidden = false;
  if (input.value !== "") {
    apply();
  }
})();
