<%@ CodePage=65001 %>
<!--#include file="inc/head.asp"-->
<!--#include file="inc/foot.asp"-->
<meta charset="gb2312">
<p>首页</p>
