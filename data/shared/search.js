/* Brindlewick FAQ page: the search box.
   The box is in the page with the hidden attribute and this script shows it,
   so without scripts the page shows every entry as before. As the reader
   types, the entries whose question and answer do not contain the text are
   hidden, together with their links in the question list, and a line beside
   the box says how many are left. Upper and lower case, full-width and
   half-width forms, and hiragana and katakana count as the same.

   Each entry's text is made comparable once, when the page loads; a
   keystroke then only compares strings and switches a class on the entries
   whose state changes.

   The element with the class "search" says where things are, by selectors:
     data-entry     an entry: everything drawn for one question
     data-question  the question inside an entry
     data-answer    the answer inside an entry
     data-toc       a link of the question list, in the order of the entries
     data-list      the question list as a whole (the link's nearest one)
     data-found     the line when some entries match; "{n}" becomes the number
     data-none      the line when none does
   Entries and links that are not shown get the class "search-miss", and so
   does the list when nothing matches; the style sheet hides them. Questions
   and links get their number among the shown entries as --faq-number, which
   the style sheet can set its counters to, so that numbers stay while other
   entries are hidden.

   An entry whose question is empty (switched off in Brindlewick) is never
   searched, shown or counted. An entry that is a <details> element opens
   when its answer comes to hold the text, and closes again when the answer
   no longer does or the box is cleared, unless it was open before. */
(function () {
  "use strict";

  var MISS = "search-miss";
  var KATAKANA = /[\u30a1-\u30f6]/g;
  var SPACES = /\s+/g;

  var box = document.querySelector(".search");
  if (!box || typeof String.prototype.normalize !== "function" || !window.WeakMap) {
    return;
  }
  var input = box.querySelector("input");
  var status = box.querySelector(".search-status");
  if (!input) {
    return;
  }

  function setting(name, fallback) {
    var value = box.getAttribute("data-" + name);
    return value ? value : fallback;
  }

  function toHiragana(letter) {
    return String.fromCharCode(letter.charCodeAt(0) - 0x60);
  }

  // The form of a text that searching compares: NFKC makes full-width Latin
  // letters and digits half-width and half-width katakana full-width (with
  // its sound marks joined), then case and katakana are folded.
  function fold(text) {
    return text.normalize("NFKC").toLowerCase().replace(KATAKANA, toHiragana).replace(SPACES, " ");
  }

  // Empty as CSS :empty sees it, which is how the designs hide an entry.
  function isEmpty(element) {
    return !element || !element.firstChild;
  }

  function all(selector) {
    return Array.prototype.slice.call(document.querySelectorAll(selector));
  }

  var entries = [];
  var entryOf = new WeakMap();
  all(setting("entry", ".qa")).forEach(function (element) {
    var question = element.querySelector(setting("question", ".question"));
    if (isEmpty(question)) {
      return;
    }
    var answer = element.querySelector(setting("answer", ".answer"));
    var entry = {
      element: element,
      question: fold(question.textContent),
      answer: answer ? fold(answer.textContent) : "",
      link: null,
      shown: true,
      details: element.tagName === "DETAILS" ? element : null,
      inAnswer: false,
      openedHere: false
    };
    entries.push(entry);
    entryOf.set(element, entry);
    question.style.setProperty("--faq-number", String(entries.length));
  });

  // The list holds the questions in the same order as the entries
  var links = all(setting("toc", ".toc-list a")).filter(function (link) {
    return !isEmpty(link);
  });
  if (links.length === entries.length) {
    links.forEach(function (link, i) {
      entries[i].link = link;
      link.style.setProperty("--faq-number", String(i + 1));
    });
  }
  var list = links.length ? links[0].closest(setting("list", ".toc")) : null;

  var found = setting("found", "{n}\u4ef6");
  var none = setting("none", "\u8a72\u5f53\u3059\u308b\u8cea\u554f\u306f\u3042\u308a\u307e\u305b\u3093");
  var lastQuery = "";
  var lastLine = "";

  // Opens an entry when its answer comes to hold the text and closes it when
  // the answer no longer does, if it was this that opened it. Between the
  // two the reader may open and close it as usual.
  function followAnswer(entry, inAnswer) {
    if (inAnswer === entry.inAnswer) {
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

  function apply() {
    var query = fold(input.value).trim();
    if (query === lastQuery) {
      return;
    }
    lastQuery = query;
    var count = 0;
    for (var i = 0; i < entries.length; i++) {
      var entry = entries[i];
      var inAnswer = query !== "" && entry.answer.indexOf(query) !== -1;
      var shown = inAnswer || entry.question.indexOf(query) !== -1;
      if (shown !== entry.shown) {
        entry.shown = shown;
        entry.element.classList.toggle(MISS, !shown);
        if (entry.link) {
          entry.link.classList.toggle(MISS, !shown);
        }
      }
      if (shown) {
        count++;
      }
      if (entry.details) {
        followAnswer(entry, inAnswer);
      }
    }
    if (list) {
      list.classList.toggle(MISS, count === 0);
    }
    var line = query === "" ? "" : count ? found.replace("{n}", String(count)) : none;
    if (status && line !== lastLine) {
      lastLine = line;
      status.textContent = line;
    }
  }

  function clear() {
    input.value = "";
    apply();
  }

  input.addEventListener("input", apply);
  // Escape in the box, or its clear button where the browser draws one
  input.addEventListener("search", apply);
  input.addEventListener("keydown", function (event) {
    if ((event.key === "Escape" || event.key === "Esc") && input.value !== "") {
      event.preventDefault();
      clear();
    }
  });

  // An entry the reader closes, or opens or closes with every other, keeps
  // that state when the text changes or is cleared.
  document.addEventListener("toggle", function (event) {
    var entry = entryOf.get(event.target);
    if (entry && entry.openedHere && !entry.details.open) {
      entry.openedHere = false;
    }
  }, true);
  document.addEventListener("click", function (event) {
    var button = event.target && event.target.closest ? event.target.closest("button") : null;
    if (button && button.hasAttribute("data-faq")) {
      entries.forEach(function (entry) {
        entry.openedHere = false;
      });
    }
  });

  // An address that leads to a hidden entry shows every entry again
  function showTarget() {
    var id = location.hash.replace(/^#/, "");
    if (!id || lastQuery === "") {
      return;
    }
    try {
      id = decodeURIComponent(id);
    } catch (e) {
      // keep it as it is
    }
    var target = document.getElementById(id);
    var element = target ? target.closest("." + MISS) : null;
    if (element) {
      clear();
      target.scrollIntoView({ block: "start" });
    }
  }
  window.addEventListener("hashchange", showTarget);

  // A text the browser put back into the box (going back to the page)
  window.addEventListener("pageshow", apply);

  box.hidden = false;
  apply();
})();
